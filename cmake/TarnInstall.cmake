# What `cmake --install` puts under the prefix: the program and skelcheck, the
# run-time data in share/tarn (found by the program from its own folder), the
# desktop entry, its icons and AppStream metainfo, and the licences.

set(TARN_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/tarn)
# The application id (reverse DNS under tarngame.org) names the desktop entry
# and the metainfo; the command and the window class stay "tarn".
set(TARN_APP_ID org.tarngame.tarn)
# Debian's licence text for the font we ship a copy of.
set(TARN_FONT_LICENSE /usr/share/doc/fonts-mplus/copyright)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/gfx ${PROJECT_SOURCE_DIR}/assets/sound ${PROJECT_SOURCE_DIR}/assets/skel_data
  DESTINATION ${TARN_DATA_DESTINATION})
install(FILES ${TARN_FONT_SOURCE} DESTINATION ${TARN_DATA_DESTINATION}/font RENAME rounded-mplus-2m-medium.ttf)
install(FILES ${TARN_FONT_LICENSE} DESTINATION ${TARN_DATA_DESTINATION}/font RENAME fonts-mplus.copyright)

install(FILES ${PROJECT_SOURCE_DIR}/dist/${TARN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/dist/${TARN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/tarn-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tarn.png)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${TARN_FONT_LICENSE} DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME fonts-mplus.copyright)
