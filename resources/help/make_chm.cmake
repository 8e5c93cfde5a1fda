# Compiles the help into TavrolaApp.chm, run as `cmake -P` by the build:
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DOUTPUT=.../TavrolaApp.chm -DCHMCMD=... -DICONV=...
#         -DPAGES=a.html,b.html -DASSETS=style.css -P make_chm.cmake
#
# The sources are UTF-8, but the compiler crashes on UTF-8 Japanese pages when full-text search is
# on, and CHM viewers read the contents and index in the code page of the project's language
# (0x411: CP932). So every page, the project, the contents and the index are re-encoded to CP932
# first, with the pages' charset declaration changed to match.
cmake_minimum_required(VERSION 3.25)

foreach(variable SOURCE_DIR WORK_DIR OUTPUT CHMCMD ICONV PAGES)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "make_chm.cmake: ${variable} is not set")
  endif()
endforeach()
string(REPLACE "," ";" pages "${PAGES}")
string(REPLACE "," ";" assets "${ASSETS}")

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# Writes `text` to `target` in CP932; an unmappable character fails the build rather than
# reaching the help as a wrong glyph.
function(write_cp932 text target)
  get_filename_component(name "${target}" NAME)
  set(utf8_copy "${WORK_DIR}/${name}.utf8")
  file(WRITE "${utf8_copy}" "${text}")
  execute_process(COMMAND "${ICONV}" -f UTF-8 -t CP932
                  INPUT_FILE "${utf8_copy}" OUTPUT_FILE "${target}"
                  RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "make_chm.cmake: ${name} cannot be written in CP932: ${error}")
  endif()
  file(REMOVE "${utf8_copy}")
endfunction()

foreach(page IN LISTS pages)
  file(READ "${SOURCE_DIR}/${page}" text)
  string(REPLACE "charset=utf-8" "charset=Shift_JIS" text "${text}")
  # The CHM viewers of Linux (wxHTML) break lines only at spaces, and Japanese has none: a space
  # after each ideographic comma and full stop lets long sentences wrap.
  string(REPLACE "、" "、 " text "${text}")
  string(REPLACE "。" "。 " text "${text}")
  write_cp932("${text}" "${WORK_DIR}/${page}")
endforeach()

foreach(sitemap toc.hhc index.hhk TavrolaApp.hhp)
  file(READ "${SOURCE_DIR}/${sitemap}" text)
  string(REPLACE "charset=utf-8" "charset=Shift_JIS" text "${text}")
  write_cp932("${text}" "${WORK_DIR}/${sitemap}")
endforeach()

foreach(asset IN LISTS assets)
  file(COPY "${SOURCE_DIR}/${asset}" DESTINATION "${WORK_DIR}")
endforeach()

execute_process(COMMAND "${CHMCMD}" TavrolaApp.hhp
                WORKING_DIRECTORY "${WORK_DIR}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS "${WORK_DIR}/TavrolaApp.chm")
  message(FATAL_ERROR "make_chm.cmake: chmcmd failed (${result}):\n${output}")
endif()
file(COPY_FILE "${WORK_DIR}/TavrolaApp.chm" "${OUTPUT}")
