# SPDX-License-Identifier: MIT
# Keeps the house: each room includes only the rooms it stands on.
#   disk/      nothing else
#   game/      disk/
#   platform/  nothing else
#   input/     disk/, platform/
#   tool/      game/, input/, disk/, platform/ (never info/)
#   info/      game/, input/, disk/, platform/ (never tool/)
#   web/       the page's entry: both programs and what they stand on
# Run as: cmake -DSOURCE_DIR=... -P layering_test.cmake
cmake_policy(SET CMP0057 NEW)  # if(IN_LIST)
set(allowed_disk disk)
set(allowed_game game disk)
set(allowed_platform platform)
set(allowed_input input disk platform)
set(allowed_tool tool game input disk platform)
set(allowed_info info game input disk platform)
set(allowed_web web tool info game input disk platform)

set(violations "")
foreach(room disk game platform input tool info web)
  file(GLOB sources ${SOURCE_DIR}/${room}/*.h ${SOURCE_DIR}/${room}/*.cc)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
      if(NOT header MATCHES "/")
        continue()  # a generated header of the build, such as the version
      endif()
      string(REGEX REPLACE "/.*$" "" target_room "${header}")
      if(NOT target_room IN_LIST allowed_${room})
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
        string(APPEND violations "  ${shown} includes ${header}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "includes across the rooms' rules:\n${violations}")
endif()
message(STATUS "every room includes only the rooms it stands on")
