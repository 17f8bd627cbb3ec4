# SPDX-License-Identifier: GPL-3.0-or-later
# Install layout and the Debian package.
#
#   bin/langxing, bin/langxing-cli
#   share/langxing/chan.dll                     the default channel file
#   share/icons/hicolor/<size>/apps/langxing.*  the icon
#   share/applications/langxing.desktop         the menu entry; it starts the window in
#                                               share/langxing, where it finds chan.dll
include(GNUInstallDirs)

set(LANGXING_DATA_SUBDIR ${CMAKE_INSTALL_DATADIR}/langxing)

if(TARGET langxing-cli)
  install(TARGETS langxing-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/data/chan.dll DESTINATION ${LANGXING_DATA_SUBDIR})

if(TARGET langxing)
  install(TARGETS langxing RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # The icon in the hicolor theme: one PNG per size, and the scalable drawing.
  set(LANGXING_ICON_DIR ${PROJECT_SOURCE_DIR}/data/icons)
  foreach(size 16 24 32 48 64 128 256)
    foreach(candidate ${size}x${size}/langxing.png langxing-${size}.png langxing_${size}.png
                      langxing${size}.png ${size}.png)
      if(EXISTS ${LANGXING_ICON_DIR}/${candidate})
        install(FILES ${LANGXING_ICON_DIR}/${candidate}
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME langxing.png)
        break()
      endif()
    endforeach()
  endforeach()
  foreach(candidate scalable/langxing.svg langxing.svg)
    if(EXISTS ${LANGXING_ICON_DIR}/${candidate})
      install(FILES ${LANGXING_ICON_DIR}/${candidate}
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
              RENAME langxing.svg)
      break()
    endif()
  endforeach()

  # The menu entry names its working directory by absolute path, so it is written at install
  # time from the prefix then in force (cmake --install --prefix, or the package's /usr).
  set(LANGXING_DESKTOP_TEMPLATE ${PROJECT_SOURCE_DIR}/data/langxing.desktop)
  set(LANGXING_DESKTOP_STAGED ${PROJECT_BINARY_DIR}/install/langxing.desktop)
  install(CODE "
    set(LANGXING_INSTALLED_DATA_DIR \"\${CMAKE_INSTALL_PREFIX}/${LANGXING_DATA_SUBDIR}\")
    configure_file(\"${LANGXING_DESKTOP_TEMPLATE}\" \"${LANGXING_DESKTOP_STAGED}\" @ONLY)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\"
         TYPE FILE FILES \"${LANGXING_DESKTOP_STAGED}\")
  ")
endif()

# cpack -G DEB: a Debian package whose library dependencies dpkg-shlibdeps works out.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME langxing)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "朗星快报")
set(CPACK_PACKAGE_CONTACT "朗星快报 <langxing@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "朗星快报 - Chinese desktop news reader for the 新浪网 portal")
set(CPACK_PACKAGE_DESCRIPTION
    "A single-window news reader: a channel catalog, headline lists and a restyled article view, with langxing-cli, a terminal companion over the same logic.")
# The package installs under /usr whatever prefix the build was configured with. It is staged
# through DESTDIR, so the prefix the menu entry is written with is /usr, not the staging path.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION news)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET langxing)
  # The window's text needs a font with Chinese glyphs, and Qt's own texts (the article view's
  # context menu) their translations; no library names either.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-translations-l10n")
endif()
include(CPack)
