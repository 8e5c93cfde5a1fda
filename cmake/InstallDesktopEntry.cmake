# Part of `cmake --install`: writes the menu entry for the prefix being installed to. Included
# by the install script with TAVROLA_APP_ID, TAVROLA_DESKTOP_TEMPLATE, TAVROLA_DESKTOP_WORK_DIR, TAVROLA_BIN_DIR,
# TAVROLA_DATA_DIR and TAVROLA_APPLICATIONS_DIR set; CMAKE_INSTALL_PREFIX is the prefix in use.

# GNUInstallDirs folders are relative to the prefix unless the user made them absolute.
function(tavrola_installed_path folder out)
  if(IS_ABSOLUTE "${folder}")
    set(${out} "${folder}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${folder}" PARENT_SCOPE)
  endif()
endfunction()

tavrola_installed_path("${TAVROLA_BIN_DIR}" bin_dir)
set(TAVROLA_DESKTOP_EXECUTABLE "${bin_dir}/tavrola")
tavrola_installed_path("${TAVROLA_DATA_DIR}" TAVROLA_DESKTOP_PATH)
tavrola_installed_path("${TAVROLA_APPLICATIONS_DIR}" applications_dir)

set(entry "${TAVROLA_DESKTOP_WORK_DIR}/${TAVROLA_APP_ID}.desktop")
configure_file("${TAVROLA_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
# file(INSTALL) puts DESTDIR in front and records the file in the install manifest.
file(INSTALL DESTINATION "${applications_dir}" TYPE FILE
     FILES "${entry}")
