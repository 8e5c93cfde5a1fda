# Validates a desktop entry with desktop-file-validate: no error and no warning. Hints pass: the
# entry is meant to sit in both the audio and the education menus.
#   cmake -DDESKTOP_FILE=... -DVALIDATE=.../desktop-file-validate -P check_desktop_entry.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS "${DESKTOP_FILE}")
  message(FATAL_ERROR "${DESKTOP_FILE} does not exist")
endif()
execute_process(COMMAND "${VALIDATE}" "${DESKTOP_FILE}"
                RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT result EQUAL 0 OR report MATCHES "(error|warning):")
  message(FATAL_ERROR "${DESKTOP_FILE} is not a valid desktop entry (${result}):\n${report}")
endif()

file(STRINGS "${DESKTOP_FILE}" lines)
foreach(key Name Name[ja] Comment Comment[ja] Icon Exec Path Categories)
  set(found OFF)
  foreach(line IN LISTS lines)
    string(FIND "${line}" "${key}=" at)
    string(LENGTH "${key}=" key_length)
    string(LENGTH "${line}" line_length)
    if(at EQUAL 0 AND line_length GREATER key_length)
      set(found ON)
    endif()
  endforeach()
  if(NOT found)
    message(FATAL_ERROR "${DESKTOP_FILE} has no ${key}")
  endif()
endforeach()
message(STATUS "${DESKTOP_FILE} is a valid desktop entry")
