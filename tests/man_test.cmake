# Renders PAGE with man and fails on any warning.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env MANWIDTH=80 LC_ALL=C.UTF-8
                        "${MAN}" --warnings -l "${PAGE}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE warnings)
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "${PAGE}: man said (${result}):\n${warnings}")
endif()
