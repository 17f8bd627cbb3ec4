# SPDX-License-Identifier: GPL-3.0-or-later
# Install layout (debian/ splits it into the packages langxing and langxing-cli).
#
#   bin/langxing, bin/langxing-cli
#   share/langxing/chan.dll                         the default channel file
#   share/man/man1/langxing.1, langxing-cli.1       the manual pages
#   share/bash-completion/completions/langxing-cli  tab completion for the companion
#   share/icons/hicolor/<size>/apps/langxing.*      the icon
#   share/applications/org.langxing.langxing.desktop        the menu entry
#   share/metainfo/org.langxing.langxing.metainfo.xml       the software-centre entry
include(GNUInstallDirs)

# bash-completion loads a command's completion on first use from completions/ under each of
# its data folders: /usr/share, /usr/local/share (XDG_DATA_DIRS) and ~/.local/share alike.
set(LANGXING_BASH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    CACHE STRING "Where langxing-cli's bash completion is installed, relative to the prefix")

set(LANGXING_DATA ${PROJECT_SOURCE_DIR}/data)

if(TARGET langxing-cli)
  install(TARGETS langxing-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${LANGXING_DATA}/man/langxing-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${LANGXING_DATA}/completion/langxing-cli DESTINATION ${LANGXING_BASH_COMPLETION_DIR})
endif()

install(FILES ${LANGXING_DATA}/chan.dll DESTINATION ${CMAKE_INSTALL_DATADIR}/langxing)

if(TARGET langxing)
  install(TARGETS langxing RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${LANGXING_DATA}/man/langxing.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  # The icon in the hicolor theme: one PNG per size, and the scalable drawing.
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${LANGXING_DATA}/icons/langxing-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME langxing.png)
  endforeach()
  install(FILES ${LANGXING_DATA}/icons/langxing.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

  # The window names the same id (QGuiApplication::setDesktopFileName), so the desktop matches
  # the running window to its menu entry.
  install(FILES ${LANGXING_DATA}/org.langxing.langxing.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${LANGXING_DATA}/org.langxing.langxing.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
