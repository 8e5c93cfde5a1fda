# Checks the compiled help of one language with chmls: every page, the contents, the index and
# the full-text search index are inside, the language is Japanese (English), and the pages and
# contents are stored in CP932 (CP1252) with a matching charset, so a CHM viewer shows them
# ungarbled.
#   cmake -DCHM=... [-DENGLISH=ON] -DCHMLS=... -DICONV=... -DPAGES=a.html,b.html -DWORK_DIR=...
#         -P check_chm.cmake
cmake_minimum_required(VERSION 3.25)

# The language's LCID, code page and charset; a text of index.html outside ASCII, which tells the
# code page from UTF-8; entries of the contents.
set(lcid 1041)
set(code_page CP932)
set(charset Shift_JIS)
set(index_text_expected "<title>Tavrola ヘルプ</title>")
set(toc_entries 配列を読み込む 音色を選ぶ 音高とリズムを決める 演奏と二重らせん 音について)
if(ENGLISH)
  set(lcid 1033)
  set(code_page CP1252)
  set(charset windows-1252)
  set(index_text_expected "</a> – typing and pasting")
  set(toc_entries "Loading a sequence" "Choosing the instruments" "About the sound")
endif()

set(failures "")
macro(fail text)
  string(APPEND failures "  ${text}\n")
endmacro()

if(NOT EXISTS "${CHM}")
  message(FATAL_ERROR "${CHM} was not built")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

execute_process(COMMAND "${CHMLS}" --name-only --no-page list "${CHM}"
                OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "chmls cannot list ${CHM} (${result})")
endif()
string(REPLACE "\n" ";" listed "${listing}")
string(REPLACE "," ";" pages "${PAGES}")
foreach(name IN LISTS pages ITEMS style.css toc.hhc index.hhk "#SYSTEM" "$FIftiMain")
  if(NOT "/${name}" IN_LIST listed)
    fail("/${name} is missing from the CHM")
  endif()
endforeach()

execute_process(COMMAND "${CHMLS}" printsystem "${CHM}" OUTPUT_VARIABLE system)
if(NOT system MATCHES "LCID from HHP file *: ${lcid}")
  fail("the CHM's language is not LCID ${lcid}")
endif()

# Extracts `name` and gives its text decoded from the code page in `out`, and its raw bytes in
# `raw`.
function(extract_cp932 name out raw)
  set(stored "${WORK_DIR}/${name}")
  execute_process(COMMAND "${CHMLS}" extract "${CHM}" "/${name}" "${stored}" OUTPUT_QUIET)
  if(NOT EXISTS "${stored}")
    set(${out} "" PARENT_SCOPE)
    set(${raw} "" PARENT_SCOPE)
    return()
  endif()
  file(READ "${stored}" bytes)
  execute_process(COMMAND "${ICONV}" -f ${code_page} -t UTF-8 INPUT_FILE "${stored}"
                  OUTPUT_VARIABLE text RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    set(text "")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
  set(${raw} "${bytes}" PARENT_SCOPE)
endfunction()

extract_cp932(index.html index_text index_bytes)
string(FIND "${index_text}" "${index_text_expected}" decoded_at)
if(decoded_at EQUAL -1)
  fail("index.html does not decode from ${code_page} to ${index_text_expected}")
endif()
if(NOT index_text MATCHES "charset=${charset}")
  fail("index.html does not declare ${charset}")
endif()
string(FIND "${index_bytes}" "${index_text_expected}" utf8_at)
if(NOT utf8_at EQUAL -1)
  fail("index.html is stored in UTF-8")
endif()

extract_cp932(toc.hhc toc_text toc_bytes)
foreach(title IN LISTS toc_entries)
  string(FIND "${toc_text}" "\"${title}\"" at)
  if(at EQUAL -1)
    fail("the contents do not decode from ${code_page} to the entry ${title}")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
if(failures)
  message(FATAL_ERROR "${CHM} is not as it should be:\n${failures}")
endif()
message(STATUS "${CHM} holds every page, in ${code_page}")
