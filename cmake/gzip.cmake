# SPDX-License-Identifier: MIT
# Writes OUT, the gzip of IN at the highest level, with no name or time stamp
# in it (gzip -9n), so that a package built twice is the same.
#   cmake -DGZIP=... -DIN=... -DOUT=... -P gzip.cmake
execute_process(COMMAND "${GZIP}" -9 -n -c "${IN}" OUTPUT_FILE "${OUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE "${OUT}")
  message(FATAL_ERROR "gzip ${IN}: ${result}")
endif()
