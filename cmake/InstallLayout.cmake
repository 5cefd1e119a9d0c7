# Where `cmake --install` puts each file, and the names the program needs to find them again.
# Included before the sources so the core's generated header sees the same values.
include(GNUInstallDirs)

# The desktop's id of the program: desktop entry, icons, AppStream data and autostart entry.
set(ORVO_APP_ID "io.github.zorvanta.Orvo")
# The folder of what ships (share/zorvanta-orvo) and of the per-user data.
set(ORVO_INSTALL_NAME "zorvanta-orvo")
set(ORVO_INSTALL_SHAREDIR "${CMAKE_INSTALL_DATADIR}/${ORVO_INSTALL_NAME}")
# udev reads rules from <prefix>/lib/udev/rules.d (not the multiarch library folder).
set(ORVO_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING "udev rules folder, relative to the prefix")

# The program finds its share folder relative to its own executable, so a moved install works.
file(RELATIVE_PATH ORVO_SHARE_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_FULL_DATADIR}/${ORVO_INSTALL_NAME}")

# A file beside the built executables tells the program it runs from the build tree: it then
# reads the skin and VER.bin from there and keeps its data beside itself. It is never installed.
set(ORVO_BUILD_TREE_MARKER ".orvo-build-tree")
file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/bin/${ORVO_BUILD_TREE_MARKER}"
     CONTENT "Zorvanta Orvo build tree: the programs here use the files beside them.\n")

configure_file(${CMAKE_SOURCE_DIR}/src/model/install_layout.h.in
               ${CMAKE_BINARY_DIR}/generated/model/install_layout.h @ONLY)
