# What `cmake --install` puts where, beside the programs and the skin (installed by their own
# folders): the shipped share folder, the desktop's files, the udev rule, the manual pages and
# the package's documents. cmake/InstallLayout.cmake names the folders.

set(ORVO_RELEASE_DATE "2026-12-08")
set(ORVO_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 12:00:00 +0000")
set(ORVO_MAINTAINER "Zorvanta Orvo developers <orvo@zorvanta.invalid>")
set(ORVO_HOMEPAGE "https://zorvanta.github.io/orvo")
# The screenshot AppStream shows, by its path in this repository under the homepage.
set(ORVO_SCREENSHOT "docs/screenshots/main-window.png")

set(ORVO_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(packaging/zorvanta-orvo.desktop.in
               ${ORVO_PACKAGING_DIR}/${ORVO_APP_ID}.desktop @ONLY)
configure_file(packaging/zorvanta-orvo.metainfo.xml.in
               ${ORVO_PACKAGING_DIR}/${ORVO_APP_ID}.metainfo.xml @ONLY)
configure_file(packaging/debian/changelog.in ${ORVO_PACKAGING_DIR}/changelog @ONLY)

install(FILES packaging/VER.bin DESTINATION ${ORVO_INSTALL_SHAREDIR})
if(ORVO_BUILD_GUI)
  install(FILES ${ORVO_PACKAGING_DIR}/${ORVO_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${ORVO_PACKAGING_DIR}/${ORVO_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
install(FILES packaging/70-zorvanta-orvo.rules DESTINATION ${ORVO_UDEV_RULES_DIR})
install(FILES packaging/orvoctl.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME orvoctl)

# Manual pages and the changelog, built from their plain sources and compressed.
set(ORVO_MAN_PAGES)
foreach(page orvoctl.1 ZorvantaOrvo.1)
  set(output ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/docs/man/${page}.txt -DOUTPUT=${output}
            -DDATE=${ORVO_RELEASE_DATE} "-DPROGRAM_SOURCE=Zorvanta Orvo ${PROJECT_VERSION}"
            -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    DEPENDS docs/man/${page}.txt cmake/ManPage.cmake cmake/man_page.awk cmake/Gzip.cmake
    COMMENT "Writing the manual page ${page}"
    VERBATIM)
  list(APPEND ORVO_MAN_PAGES ${output})
endforeach()
add_custom_command(
  OUTPUT ${ORVO_PACKAGING_DIR}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -DINPUT=${ORVO_PACKAGING_DIR}/changelog
          -DOUTPUT=${ORVO_PACKAGING_DIR}/changelog.gz -P ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
  DEPENDS ${ORVO_PACKAGING_DIR}/changelog cmake/Gzip.cmake
  VERBATIM)
add_custom_target(man_pages ALL DEPENDS ${ORVO_MAN_PAGES} ${ORVO_PACKAGING_DIR}/changelog.gz)
install(FILES ${ORVO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/debian/copyright ${ORVO_PACKAGING_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${ORVO_INSTALL_NAME})
