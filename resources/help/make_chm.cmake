# Compiles one language of the help into a CHM file, run as `cmake -P` by the build:
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DOUTPUT=.../TavrolaApp.chm -DCHMCMD=... -DICONV=...
#         -DPAGES=a.html,b.html -DASSETS=style.css [-DASSET_DIR=...] [-DPROJECT=TavrolaApp.hhp]
#         [-DCODE_PAGE=CP932 -DCHARSET=Shift_JIS] -P make_chm.cmake
# SOURCE_DIR holds the pages, toc.hhc, index.hhk and the project; ASSET_DIR (SOURCE_DIR unless
# given) the assets, copied as they stand.
#
# The sources are UTF-8, but CHM viewers read the contents and index in the code page of the
# project's language, and the compiler crashes on UTF-8 Japanese pages when full-text search is
# on. So every page, the project, the contents and the index are re-encoded to that code page
# first (Japanese, 0x411: CP932; English, 0x409: CP1252), with the pages' charset declaration
# changed to match.
cmake_minimum_required(VERSION 3.25)

foreach(variable SOURCE_DIR WORK_DIR OUTPUT CHMCMD ICONV PAGES)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "make_chm.cmake: ${variable} is not set")
  endif()
endforeach()
if(NOT DEFINED ASSET_DIR)
  set(ASSET_DIR "${SOURCE_DIR}")
endif()
if(NOT DEFINED PROJECT)
  set(PROJECT TavrolaApp.hhp)
endif()
if(NOT DEFINED CODE_PAGE)
  set(CODE_PAGE CP932)
  set(CHARSET Shift_JIS)
elseif(NOT DEFINED CHARSET)
  message(FATAL_ERROR "make_chm.cmake: CODE_PAGE is set without its CHARSET")
endif()
string(REPLACE "," ";" pages "${PAGES}")
string(REPLACE "," ";" assets "${ASSETS}")
get_filename_component(compiled_name "${PROJECT}" NAME_WE)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# Writes `text` to `target` in the code page; an unmappable character fails the build rather than
# reaching the help as a wrong glyph.
function(write_in_code_page text target)
  get_filename_component(name "${target}" NAME)
  set(utf8_copy "${WORK_DIR}/${name}.utf8")
  file(WRITE "${utf8_copy}" "${text}")
  execute_process(COMMAND "${ICONV}" -f UTF-8 -t "${CODE_PAGE}"
                  INPUT_FILE "${utf8_copy}" OUTPUT_FILE "${target}"
                  RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "make_chm.cmake: ${name} cannot be written in ${CODE_PAGE}: ${error}")
  endif()
  file(REMOVE "${utf8_copy}")
endfunction()

foreach(page IN LISTS pages)
  file(READ "${SOURCE_DIR}/${page}" text)
  string(REPLACE "charset=utf-8" "charset=${CHARSET}" text "${text}")
  # The CHM viewers of Linux (wxHTML) break lines only at spaces, and Japanese has none: a space
  # after each ideographic comma and full stop lets long sentences wrap.
  string(REPLACE "、" "、 " text "${text}")
  string(REPLACE "。" "。 " text "${text}")
  write_in_code_page("${text}" "${WORK_DIR}/${page}")
endforeach()

foreach(sitemap toc.hhc index.hhk ${PROJECT})
  file(READ "${SOURCE_DIR}/${sitemap}" text)
  string(REPLACE "charset=utf-8" "charset=${CHARSET}" text "${text}")
  write_in_code_page("${text}" "${WORK_DIR}/${sitemap}")
endforeach()

foreach(asset IN LISTS assets)
  file(COPY "${ASSET_DIR}/${asset}" DESTINATION "${WORK_DIR}")
endforeach()

execute_process(COMMAND "${CHMCMD}" "${PROJECT}"
                WORKING_DIRECTORY "${WORK_DIR}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS "${WORK_DIR}/${compiled_name}.chm")
  message(FATAL_ERROR "make_chm.cmake: chmcmd failed (${result}):\n${output}")
endif()
file(COPY_FILE "${WORK_DIR}/${compiled_name}.chm" "${OUTPUT}")
