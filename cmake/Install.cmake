# `cmake --install`: the program, its icon and menu entry in the freedesktop places, and in
# share/tavrola what the program opens by relative name from its working directory: data/,
# help/ and TavrolaApp.chm (listed by cmake/SampleData.cmake and resources/help). The menu entry
# starts the program in share/tavrola, so the open-file dialog begins at the samples and the help
# button finds the help.
install(TARGETS tavrola RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

foreach(size 16 24 32 48 64 128 256)
  install(FILES "${PROJECT_SOURCE_DIR}/resources/icon/tavrola-${size}.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
          RENAME tavrola.png)
endforeach()

# The menu entry names the prefix in Exec and Path, so it is written at install time, when the
# prefix actually used is known (`cmake --install build --prefix ...` may differ from the one
# configured).
set(desktop_template "${PROJECT_SOURCE_DIR}/cmake/tavrola.desktop.in")
install(CODE "
  set(TAVROLA_DESKTOP_TEMPLATE \"${desktop_template}\")
  set(TAVROLA_DESKTOP_WORK_DIR \"${PROJECT_BINARY_DIR}/desktop-entry\")
  set(TAVROLA_BIN_DIR \"${CMAKE_INSTALL_BINDIR}\")
  set(TAVROLA_DATA_DIR \"${TAVROLA_INSTALL_DATA_DIR}\")
  set(TAVROLA_APPLICATIONS_DIR \"${CMAKE_INSTALL_DATADIR}/applications\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/InstallDesktopEntry.cmake\")
")

# The same entry for the configured prefix, for the validity check.
set(TAVROLA_DESKTOP_EXECUTABLE "${CMAKE_INSTALL_FULL_BINDIR}/tavrola")
set(TAVROLA_DESKTOP_PATH "${CMAKE_INSTALL_PREFIX}/${TAVROLA_INSTALL_DATA_DIR}")
if(IS_ABSOLUTE "${TAVROLA_INSTALL_DATA_DIR}")
  set(TAVROLA_DESKTOP_PATH "${TAVROLA_INSTALL_DATA_DIR}")
endif()
configure_file("${desktop_template}" "${PROJECT_BINARY_DIR}/tavrola.desktop" @ONLY)

if(TAVROLA_BUILD_TESTS)
  find_program(TAVROLA_DESKTOP_FILE_VALIDATE desktop-file-validate
               DOC "Desktop entry checker (Debian desktop-file-utils)")
  if(TAVROLA_DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry_is_valid
             COMMAND ${CMAKE_COMMAND}
                     "-DDESKTOP_FILE=${PROJECT_BINARY_DIR}/tavrola.desktop"
                     "-DVALIDATE=${TAVROLA_DESKTOP_FILE_VALIDATE}"
                     -P "${PROJECT_SOURCE_DIR}/tests/packaging/check_desktop_entry.cmake")
  endif()
  set(expect_chm OFF)
  if(TAVROLA_CHMCMD AND TAVROLA_ICONV)
    set(expect_chm ON)
  endif()
  add_test(NAME install_puts_every_file_in_place
           COMMAND ${CMAKE_COMMAND}
                   "-DBUILD_DIR=${PROJECT_BINARY_DIR}"
                   "-DPREFIX=${PROJECT_BINARY_DIR}/install-check"
                   "-DBIN_DIR=${CMAKE_INSTALL_BINDIR}"
                   "-DDATA_ROOT=${CMAKE_INSTALL_DATADIR}"
                   "-DDATA_FOLDER=${TAVROLA_INSTALL_DATA_DIR}"
                   "-DEXPECT_CHM=${expect_chm}"
                   "-DVALIDATE=${TAVROLA_DESKTOP_FILE_VALIDATE}"
                   "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
                   -P "${PROJECT_SOURCE_DIR}/tests/packaging/check_install.cmake")
  # It installs the whole build: nothing else may write that folder meanwhile.
  set_tests_properties(install_puts_every_file_in_place PROPERTIES RUN_SERIAL ON)
endif()
