# Installs the build into a scratch prefix and checks that every file lands in its place: the
# program in bin, the menu entry (valid, naming this prefix), the icons, the software-centre
# data and the file types in the freedesktop folders (the desktop's caches there refreshed), the
# manual pages, and the samples and help side by side in share/tavrola, where the entry starts
# the program.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -DBIN_DIR=bin -DDATA_ROOT=share
#         -DMAN_DIR=share/man -DDATA_FOLDER=share/tavrola -DEXPECT_CHM=ON|OFF -DVALIDATE=...
#         -DSOURCE_DIR=... -P check_install.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

set(share "${PREFIX}/${DATA_ROOT}")
set(data_folder "${PREFIX}/${DATA_FOLDER}")
set(expected
  "${PREFIX}/${BIN_DIR}/tavrola"
  "${share}/applications/${APP_ID}.desktop"
  "${share}/metainfo/${APP_ID}.metainfo.xml"
  "${share}/mime/packages/${APP_ID}.xml"
  "${PREFIX}/${MAN_DIR}/man1/tavrola.1"
  "${PREFIX}/${MAN_DIR}/ja/man1/tavrola.1"
  "${data_folder}/help/index.html"
  "${data_folder}/help/sequence.html"
  "${data_folder}/help/instruments.html"
  "${data_folder}/help/algorithm.html"
  "${data_folder}/help/playback.html"
  "${data_folder}/help/export.html"
  "${data_folder}/help/sound.html"
  "${data_folder}/help/style.css"
  "${data_folder}/data/README"
)
foreach(page index sequence instruments algorithm playback export sound)
  list(APPEND expected "${data_folder}/help/en/${page}.html")
endforeach()
list(APPEND expected "${data_folder}/help/en/style.css")
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected "${share}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
endforeach()
file(GLOB_RECURSE samples RELATIVE "${SOURCE_DIR}/data" "${SOURCE_DIR}/data/*.txt")
foreach(sample IN LISTS samples)
  list(APPEND expected "${data_folder}/data/${sample}")
endforeach()
if(EXPECT_CHM)
  list(APPEND expected "${data_folder}/TavrolaApp.chm" "${data_folder}/TavrolaApp_en.chm")
endif()

set(failures "")
foreach(file IN LISTS expected)
  if(NOT EXISTS "${file}")
    string(APPEND failures "  missing: ${file}\n")
  endif()
endforeach()
# Installed into a prefix, not a package's staging folder, the caches know the types at once.
find_program(update_mime_database update-mime-database NO_CACHE)
find_program(update_desktop_database update-desktop-database NO_CACHE)
if(update_mime_database AND NOT EXISTS "${share}/mime/chemical/seq-na-fasta.xml")
  string(APPEND failures "  the MIME cache of ${share}/mime was not refreshed\n")
endif()
set(handlers "")
if(EXISTS "${share}/applications/mimeinfo.cache")
  file(STRINGS "${share}/applications/mimeinfo.cache" handlers REGEX "^chemical/seq-na-fasta=")
endif()
if(update_desktop_database AND NOT handlers MATCHES "${APP_ID}[.]desktop")
  string(APPEND failures "  the desktop cache of ${share}/applications names no FASTA handler\n")
endif()
if(NOT IS_DIRECTORY "${data_folder}/data" OR NOT samples)
  string(APPEND failures "  no sample sequences\n")
endif()
execute_process(COMMAND test -x "${PREFIX}/${BIN_DIR}/tavrola" RESULT_VARIABLE not_executable)
if(NOT not_executable EQUAL 0)
  string(APPEND failures "  ${BIN_DIR}/tavrola is not an executable\n")
endif()
# Build files must not travel along with the samples.
file(GLOB strays "${data_folder}/data/CMakeLists.txt" "${data_folder}/help/*.hh?"
     "${data_folder}/help/en/*.hh?")
if(strays)
  string(APPEND failures "  build files installed: ${strays}\n")
endif()

set(entry "${share}/applications/${APP_ID}.desktop")
if(EXISTS "${entry}")
  file(STRINGS "${entry}" path_line REGEX "^Path=")
  if(NOT path_line STREQUAL "Path=${data_folder}")
    string(APPEND failures "  the entry's ${path_line} is not Path=${data_folder}\n")
  endif()
  file(STRINGS "${entry}" exec_line REGEX "^Exec=")
  if(NOT exec_line STREQUAL "Exec=\"${PREFIX}/${BIN_DIR}/tavrola\" %F")
    string(APPEND failures "  the entry's ${exec_line} does not name the installed program\n")
  endif()
  if(VALIDATE)
    execute_process(COMMAND "${CMAKE_COMMAND}" "-DDESKTOP_FILE=${entry}" "-DVALIDATE=${VALIDATE}"
                            -P "${CMAKE_CURRENT_LIST_DIR}/check_desktop_entry.cmake"
                    RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
    if(NOT result EQUAL 0)
      string(APPEND failures "  the installed entry is not valid:\n${report}\n")
    endif()
  endif()
endif()

if(failures)
  message(FATAL_ERROR "cmake --install did not lay out Tavrola as expected:\n${failures}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "cmake --install lays out every file")
