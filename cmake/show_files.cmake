# SPDX-License-Identifier: MIT
# Prints the name and size of every file d88cut cut in DIR.
foreach(name LOADER DRIVER MUSIC MUSIC2)
  if(EXISTS "${DIR}/${name}")
    file(SIZE "${DIR}/${name}" size)
    message("  ${name}: ${size} bytes")
  else()
    message("  ${name}: not written")
  endif()
endforeach()
