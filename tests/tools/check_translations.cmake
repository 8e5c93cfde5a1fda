# The English catalogue against the sources: lupdate, run on a copy, must find no text without
# its English and none the sources no longer have, and warn of nothing; lrelease must compile
# the catalogue itself without a word beyond its count. Run by ctest with LUPDATE, LRELEASE,
# CATALOGUE, SOURCES (a file listing the sources, one a line), INCLUDE (src/) and WORK (a
# scratch folder).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY_FILE "${CATALOGUE}" "${WORK}/catalogue.ts")

# Includes are written from src/: lupdate follows them to learn each class's namespace.
execute_process(COMMAND "${LUPDATE}" -locations none -I "${INCLUDE}" "@${SOURCES}"
                        -ts "${WORK}/catalogue.ts"
                RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
string(REGEX REPLACE "Updating '[^']*'\\.\\.\\.\n" "" rest "${said}")
string(REGEX REPLACE " *Found [0-9]+ source text\\(s\\) \\(0 new and [0-9]+ already existing\\)\n"
       "" rest "${rest}")
file(READ "${WORK}/catalogue.ts" updated)
string(REGEX MATCHALL
       "<source>[^<]*</source>[ \n]*(<[a-z]*comment>[^<]*</[a-z]*comment>[ \n]*)*<translation type=\"[a-z]+\""
       open_texts "${updated}")
if(NOT status EQUAL 0 OR NOT rest STREQUAL "" OR open_texts)
  string(REPLACE ";" "\n" open_texts "${open_texts}")
  message(FATAL_ERROR "tavrola_en.ts is not up to date with the sources (cmake --build build "
                      "--target update_translations, then give each new text its English and "
                      "drop the vanished ones):\n${said}${open_texts}")
endif()

execute_process(COMMAND "${LRELEASE}" "${CATALOGUE}" -qm "${WORK}/catalogue.qm"
                RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
string(REGEX REPLACE "Updating '[^']*'\\.\\.\\.\n" "" rest "${said}")
string(REGEX REPLACE " *Generated [0-9]+ translation\\(s\\) \\([0-9]+ finished and 0 unfinished\\)\n"
       "" rest "${rest}")
if(NOT status EQUAL 0 OR NOT rest STREQUAL "")
  message(FATAL_ERROR "lrelease failed or warned:\n${said}")
endif()
