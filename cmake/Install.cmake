# Install layout, desktop integration and the Debian package.
include(GNUInstallDirs)

set(NUVISCA_APP_ID org.nuvisca.viewer)
set(packagingDir ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS nuvisca-viewer nuvisca RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packagingDir}/${NUVISCA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packagingDir}/${NUVISCA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packagingDir}/${NUVISCA_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# The PNG sizes are rendered from the one SVG, so the two cannot drift apart.
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert not found: install librsvg2-bin (scripts/install-deps.sh)")
endif()
set(iconSvg ${packagingDir}/${NUVISCA_APP_ID}.svg)
set(iconPngs)
foreach(size 16 24 32 48 64 128 256)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}/${NUVISCA_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${iconSvg}
    DEPENDS ${iconSvg} VERBATIM)
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  list(APPEND iconPngs ${png})
endforeach()
add_custom_target(nuvisca_icons ALL DEPENDS ${iconPngs})
install(FILES ${iconSvg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Packaging installs what scripts/package.sh built, not every test and benchmark.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nuvisca)
set(CPACK_PACKAGE_VENDOR "nuvisca")
set(CPACK_PACKAGE_CONTACT "nuvisca maintainers <maintainers@nuvisca.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer and command-line tool for tissue oximeter recordings")
set(CPACK_PACKAGE_DESCRIPTION "Shows the recordings of a tissue oximeter (rSO2, oxHb, dxHb, toHb)
against clock time; imports them from the device's removable medium, exports CSV with
Japanese headings and prints one landscape page. The nuvisca command prints a recording's
header, renders its graph and writes its CSV export.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_STRIP_FILES ON)
include(CPack)
