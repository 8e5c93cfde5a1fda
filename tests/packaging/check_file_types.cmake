# The desktop knows Tavrola's sequence files: the file types and the menu entry are installed
# into a scratch XDG data folder beside shared-mime-info's own types, its caches built there by
# the tools the Debian triggers run, and xdg-mime (as on a desktop it does not know) names the
# type of a sample of each format and Tavrola as the program that opens them. Twice where
# Debian's chemical-mime-data is installed: alone, and merged with that package's GenBank type.
#   cmake -DMIME_FILE=... -DDESKTOP_FILE=... -DAPP_ID=... -DFREEDESKTOP=.../freedesktop.org.xml
#         [-DCHEMICAL=.../chemical-mime-data.xml] -DUPDATE_MIME=... -DUPDATE_DESKTOP=...
#         -DXDG_MIME=... -DWORK_DIR=... -P check_file_types.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")
macro(fail text)
  string(APPEND failures "  ${text}\n")
endmacro()

file(REMOVE_RECURSE "${WORK_DIR}")
set(samples "${WORK_DIR}/samples")
file(MAKE_DIRECTORY "${samples}" "${WORK_DIR}/config")

file(WRITE "${samples}/gene.fa" ">gene1 made up\nACGTACGTAC\n>gene2\nGGCCTTAA\n")
file(WRITE "${samples}/record.gb"
     "LOCUS       TAVROLA1                  12 bp    DNA     linear   SYN 01-JAN-2026\n"
     "DEFINITION  A made-up record.\nORIGIN\n        1 acgtacgtac gt\n//\n")
file(WRITE "${samples}/record.embl"
     "ID   TV0001; SV 1; linear; genomic DNA; STD; SYN; 12 BP.\nXX\n"
     "SQ   Sequence 12 BP; 3 A; 3 C; 3 G; 3 T; 0 other;\n"
     "     acgtacgtac gt                                                        12\n//\n")
# Texts that merely begin with a format's first word stay texts.
file(WRITE "${samples}/notes" "LOCUS of control, week 3\n")
file(WRITE "${samples}/table" "ID   Name\n1    Tavrola\n")
# A Game Boy image's header: the first 24 bytes of its logo at 0x104, where shared-mime-info's
# magic looks (in octal, for printf), zeros around. The same bytes without a name show what the
# content alone says.
string(REPEAT "\\000" 260 zeros)
set(logo 316 355 146 146 314 015 000 013 003 163 000 203 000 014 000 015 000 010 021 037 210 211
         000 016)
list(JOIN logo "\\" logo)
execute_process(COMMAND printf "${zeros}\\${logo}${zeros}" OUTPUT_FILE "${samples}/game.gb")
file(COPY_FILE "${samples}/game.gb" "${samples}/game")

# What xdg-mime must answer, for every database: file=type.
set(cases
  gene.fa=chemical/seq-na-fasta
  record.gb=chemical/x-genbank
  record.embl=chemical/seq-na-embl
  game=application/x-gameboy-rom
  notes=text/plain
  table=text/plain)
# A Game Boy .gb only without chemical-mime-data: with it, xdg-mime's reader (File::MimeInfo)
# gives a *.gb to the first package file that names it, chemical-mime-data's, before looking
# for the Game Boy magic. GIO and QMimeDatabase, which desktops use, read the content there too.
set(alone_cases game.gb=application/x-gameboy-rom)

# xdg-mime as on a desktop it does not know, reading only the scratch folders.
set(ENV{XDG_CURRENT_DESKTOP} X-Generic)
set(ENV{XDG_CONFIG_HOME} "${WORK_DIR}/config")
set(ENV{XDG_CONFIG_DIRS} "${WORK_DIR}/config")
set(ENV{HOME} "${WORK_DIR}")
unset(ENV{XDG_MENU_PREFIX})
set(ENV{PKGSYSTEM_ENABLE_FSYNC} 0)

function(check_database name)
  set(data "${WORK_DIR}/${name}")
  file(MAKE_DIRECTORY "${data}/mime/packages" "${data}/applications")
  file(COPY ${ARGN} DESTINATION "${data}/mime/packages")
  file(COPY_FILE "${MIME_FILE}" "${data}/mime/packages/${APP_ID}.xml")
  file(COPY_FILE "${DESKTOP_FILE}" "${data}/applications/${APP_ID}.desktop")
  set(ENV{XDG_DATA_HOME} "${data}")
  set(ENV{XDG_DATA_DIRS} "${data}")
  foreach(update IN ITEMS "${UPDATE_MIME};${data}/mime" "${UPDATE_DESKTOP};${data}/applications")
    execute_process(COMMAND ${update} RESULT_VARIABLE result OUTPUT_VARIABLE report
                    ERROR_VARIABLE report)
    # Any word from them is a complaint about the files (a bad rule, an unknown type).
    if(NOT result EQUAL 0 OR NOT report STREQUAL "")
      fail("${name}: ${update} (${result}): ${report}")
    endif()
  endforeach()

  foreach(case IN LISTS cases ${name}_cases)
    string(REPLACE "=" ";" case "${case}")
    list(GET case 0 sample)
    list(GET case 1 expected)
    execute_process(COMMAND "${XDG_MIME}" query filetype "${samples}/${sample}"
                    OUTPUT_VARIABLE type OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_VARIABLE type)
    if(NOT type STREQUAL expected)
      fail("${name}: ${sample} is \"${type}\", not ${expected}")
    endif()
  endforeach()
  foreach(type IN ITEMS chemical/seq-na-fasta chemical/x-genbank chemical/seq-na-embl)
    execute_process(COMMAND "${XDG_MIME}" query default "${type}"
                    OUTPUT_VARIABLE handler OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_VARIABLE handler)
    if(NOT handler STREQUAL "${APP_ID}.desktop")
      fail("${name}: ${type} opens with \"${handler}\", not ${APP_ID}.desktop")
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

check_database(alone "${FREEDESKTOP}")
if(CHEMICAL)
  check_database(with_chemical_mime_data "${FREEDESKTOP}" "${CHEMICAL}")
endif()

if(failures)
  message(FATAL_ERROR "The desktop does not open sequence files with Tavrola:\n${failures}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
message(STATUS "The desktop knows FASTA, GenBank and EMBL files and opens them with Tavrola")
