# Part of `cmake --install`: writes the menu entry for the prefix being installed to, then lets
# the desktop know of it and of the file types. Included by the install script with
# TAVROLA_APP_ID, TAVROLA_DESKTOP_TEMPLATE, TAVROLA_DESKTOP_WORK_DIR, TAVROLA_BIN_DIR,
# TAVROLA_DATA_DIR, TAVROLA_APPLICATIONS_DIR and TAVROLA_MIME_DIR set; CMAKE_INSTALL_PREFIX is
# the prefix in use.

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
tavrola_installed_path("${TAVROLA_MIME_DIR}" mime_dir)

set(entry "${TAVROLA_DESKTOP_WORK_DIR}/${TAVROLA_APP_ID}.desktop")
configure_file("${TAVROLA_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
# file(INSTALL) puts DESTDIR in front and records the file in the install manifest.
file(INSTALL DESTINATION "${applications_dir}" TYPE FILE
     FILES "${entry}")

# A package is staged under DESTDIR and leaves the caches to the triggers of shared-mime-info and
# desktop-file-utils. Installed straight into a prefix (~/.local, /usr/local), the caches there
# are refreshed here, so the file manager offers Tavrola for sequence files at once.
function(tavrola_refresh_cache tool folder)
  find_program(tool_path "${tool}" NO_CACHE)
  if(tool_path)
    execute_process(COMMAND "${tool_path}" "${folder}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(WARNING "${tool} ${folder} failed (${result}); the desktop may not see Tavrola's "
                      "file types until it is run again")
    endif()
  endif()
endfunction()
if("$ENV{DESTDIR}" STREQUAL "")
  tavrola_refresh_cache(update-mime-database "${mime_dir}")
  tavrola_refresh_cache(update-desktop-database "${applications_dir}")
endif()
