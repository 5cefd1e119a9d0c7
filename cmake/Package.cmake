# `cpack -G DEB` (scripts/package): zorvanta-orvo_<version>_<arch>.deb with the install tree
# under /usr, dependencies computed from the binaries, and maintainer scripts that reload the
# udev rule. Packaging installs what is built; it does not build everything first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

foreach(script postinst postrm)
  if(script STREQUAL "postinst")
    set(ORVO_SCRIPT_ACTIONS "configure")
  else()
    set(ORVO_SCRIPT_ACTIONS "remove | purge")
  endif()
  configure_file(packaging/debian/maintainer-script.in ${ORVO_PACKAGING_DIR}/debian/${script}
                 @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                 GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${ORVO_INSTALL_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zorvanta Orvo developers")
set(CPACK_PACKAGE_CONTACT "${ORVO_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORVO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The texts are drawn in Arial, which fontconfig maps to Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
# The first line is the synopsis; CPack indents the lines after it for the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "configuration program for the Zorvanta Orvo gaming keyboard
Sets everything the Zorvanta Orvo USB keyboard keeps: per-key RGB lighting
and its effects, the lit palm rest, key reassignment, macros stored in the
keyboard, game mode, Windows-key lock, report rate and response time, with
profiles kept as files. Includes orvoctl for scripts and a udev rule that
gives the user at the seat access to the keyboard.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${ORVO_PACKAGING_DIR}/debian/postinst ${ORVO_PACKAGING_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
