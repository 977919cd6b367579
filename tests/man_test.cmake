# SPDX-License-Identifier: MIT
# Renders PAGE with man and fails on any warning.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env MANWIDTH=80 LC_ALL=C.UTF-8
                        "${MAN}" --warnings -l "${PAGE}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE warnings)
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "${PAGE}: man said (${result}):\n${warnings}")
endif()

# Every line fits 80 columns (rendered in ASCII, one byte a column).
execute_process(COMMAND "${CMAKE_COMMAND}" -E env MANWIDTH=80 LC_ALL=C
                        "${MAN}" -l "${PAGE}"
                OUTPUT_VARIABLE text ERROR_QUIET)
string(REPEAT "[^\n]" 81 tooLong)
string(REGEX MATCH "${tooLong}[^\n]*" line "${text}")
if(line)
  message(FATAL_ERROR "${PAGE}: a line wider than 80 columns:\n${line}")
endif()

# The footer names the project's version.
string(FIND "${text}" "d88cut ${VERSION}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${PAGE}: the footer does not name version ${VERSION}")
endif()
