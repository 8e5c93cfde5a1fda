# `cmake --install`: the program, its icon, menu entry, software-centre data and manual pages in
# the freedesktop and FHS places, and in share/tavrola what the program opens by relative name
# from its working directory: data/, help/ and TavrolaApp.chm (listed by cmake/SampleData.cmake
# and resources/help). The menu entry starts the program in share/tavrola, so the open-file
# dialog begins at the samples and the help button finds the help. The Debian package is this
# install, made by debian/rules.
install(TARGETS tavrola RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

# The icon, menu entry and metainfo carry the desktop id, so desktops and software centres
# match them with each other and with the running window.
foreach(size 16 24 32 48 64 128 256)
  install(FILES "${PROJECT_SOURCE_DIR}/resources/icon/tavrola-${size}.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
          RENAME "${TAVROLA_APP_ID}.png")
endforeach()

configure_file("${PROJECT_SOURCE_DIR}/cmake/tavrola.metainfo.xml.in"
               "${PROJECT_BINARY_DIR}/${TAVROLA_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/${TAVROLA_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# The sequence file types the menu entry opens, for the desktop's MIME database. Staged beside
# the entry and the metainfo for the packaging checks.
configure_file("${PROJECT_SOURCE_DIR}/cmake/tavrola.mime.xml"
               "${PROJECT_BINARY_DIR}/${TAVROLA_APP_ID}.mime.xml" COPYONLY)
install(FILES "${PROJECT_BINARY_DIR}/${TAVROLA_APP_ID}.mime.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages" RENAME "${TAVROLA_APP_ID}.xml")

install(FILES "${PROJECT_SOURCE_DIR}/docs/man/tavrola.1"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${PROJECT_SOURCE_DIR}/docs/man/ja/tavrola.1"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/ja/man1")

# The menu entry names the prefix in Exec and Path, so it is written at install time, when the
# prefix actually used is known (`cmake --install build --prefix ...` may differ from the one
# configured). Last, since it also refreshes the desktop's caches of what it installs.
set(desktop_template "${PROJECT_SOURCE_DIR}/cmake/tavrola.desktop.in")
install(CODE "
  set(TAVROLA_APP_ID \"${TAVROLA_APP_ID}\")
  set(TAVROLA_DESKTOP_TEMPLATE \"${desktop_template}\")
  set(TAVROLA_DESKTOP_WORK_DIR \"${PROJECT_BINARY_DIR}/desktop-entry\")
  set(TAVROLA_BIN_DIR \"${CMAKE_INSTALL_BINDIR}\")
  set(TAVROLA_DATA_DIR \"${TAVROLA_INSTALL_DATA_DIR}\")
  set(TAVROLA_APPLICATIONS_DIR \"${CMAKE_INSTALL_DATADIR}/applications\")
  set(TAVROLA_MIME_DIR \"${CMAKE_INSTALL_DATADIR}/mime\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/InstallDesktopEntry.cmake\")
")

# The same entry for the configured prefix, for the validity check.
set(TAVROLA_DESKTOP_EXECUTABLE "${CMAKE_INSTALL_FULL_BINDIR}/tavrola")
set(TAVROLA_DESKTOP_PATH "${CMAKE_INSTALL_PREFIX}/${TAVROLA_INSTALL_DATA_DIR}")
if(IS_ABSOLUTE "${TAVROLA_INSTALL_DATA_DIR}")
  set(TAVROLA_DESKTOP_PATH "${TAVROLA_INSTALL_DATA_DIR}")
endif()
configure_file("${desktop_template}" "${PROJECT_BINARY_DIR}/${TAVROLA_APP_ID}.desktop" @ONLY)
