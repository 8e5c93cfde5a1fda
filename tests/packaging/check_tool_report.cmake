# Runs a checker that must pass with no error and no warning, and shows its report either way:
# appstreamcli on the software-centre data, reuse on the tree's licence data. Notes below
# warning level (appstreamcli's pedantic and info lines) pass and are shown.
#   cmake -DNAME=... -DCOMMAND=tool;arg;... [-DWORKING_DIRECTORY=...] [-DFAILING=regex]
#         -P check_tool_report.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED WORKING_DIRECTORY)
  set(WORKING_DIRECTORY ".")
endif()
# A line that names an error or a warning, in the checkers' own words.
if(NOT DEFINED FAILING)
  set(FAILING "(^|\n)[EW]: |error|warning")
endif()
execute_process(COMMAND ${COMMAND} WORKING_DIRECTORY "${WORKING_DIRECTORY}"
                RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
message(STATUS "${NAME}:\n${report}")
if(NOT result EQUAL 0 OR report MATCHES "${FAILING}")
  message(FATAL_ERROR "${NAME} does not pass cleanly (exit ${result})")
endif()
