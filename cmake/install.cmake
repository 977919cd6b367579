# SPDX-License-Identifier: MIT
# What `cmake --install` and the packages hold: the programs, the manual
# pages (gzipped on Linux), the licence, the changelog and the README.
include(GNUInstallDirs)

# Who answers for a package built from here: set it when you publish one
# (-DD88CUT_MAINTAINER="Name <address>"). The default names no one: its
# domain is reserved never to exist.
set(D88CUT_MAINTAINER "The d88cut authors <maintainers@d88cut.invalid>"
    CACHE STRING "The Debian package's Maintainer, who signs its changelog")

# The licence in Debian's machine-readable form, from LICENSE: its text after
# the title and the copyright line, each line indented, blank lines as " .".
file(READ LICENSE D88CUT_LICENSE_BODY)
string(REGEX REPLACE "^[^\n]*\n\n[^\n]*\n\n" "" D88CUT_LICENSE_BODY "${D88CUT_LICENSE_BODY}")
string(REGEX REPLACE "\n$" "" D88CUT_LICENSE_BODY "${D88CUT_LICENSE_BODY}")
string(REPLACE "\n\n" "\n.\n" D88CUT_LICENSE_BODY "${D88CUT_LICENSE_BODY}")
string(REPLACE "\n" "\n " D88CUT_LICENSE_BODY "${D88CUT_LICENSE_BODY}")
string(CONCAT D88CUT_COPYRIGHT
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: d88cut\n"
    "\n"
    "Files: *\n"
    "Copyright: 2026 The d88cut authors\n"
    "License: Expat\n"
    " ${D88CUT_LICENSE_BODY}\n")
file(WRITE ${CMAKE_BINARY_DIR}/doc/copyright "${D88CUT_COPYRIGHT}")

if(WIN32)
  # A folder to unpack: the programs, and a README and the licence to read on
  # Windows, with CR LF line ends.
  install(TARGETS d88cut d88info RUNTIME DESTINATION .)
  file(READ packaging/README-windows.txt D88CUT_WINDOWS_README)
  string(REPLACE "@PROJECT_VERSION@" "${PROJECT_VERSION}" D88CUT_WINDOWS_README
         "${D88CUT_WINDOWS_README}")
  string(REPLACE "\n" "\r\n" D88CUT_WINDOWS_README "${D88CUT_WINDOWS_README}")
  file(WRITE ${CMAKE_BINARY_DIR}/README.txt "${D88CUT_WINDOWS_README}")
  file(READ LICENSE D88CUT_LICENSE_TEXT)
  string(REPLACE "\n" "\r\n" D88CUT_LICENSE_TEXT "${D88CUT_LICENSE_TEXT}")
  file(WRITE ${CMAKE_BINARY_DIR}/LICENSE.txt "${D88CUT_LICENSE_TEXT}")
  # libarchive, which d88cut and d88info load to read archives, and its licence.
  file(READ ${D88CUT_ARCHIVE_PREFIX}/COPYING.libarchive D88CUT_LIBARCHIVE_LICENSE)
  string(REPLACE "\n" "\r\n" D88CUT_LIBARCHIVE_LICENSE "${D88CUT_LIBARCHIVE_LICENSE}")
  file(WRITE ${CMAKE_BINARY_DIR}/LICENSE-libarchive.txt "${D88CUT_LIBARCHIVE_LICENSE}")
  install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/LICENSE.txt
                ${CMAKE_BINARY_DIR}/LICENSE-libarchive.txt ${CMAKE_BINARY_DIR}/bin/libarchive.dll
          DESTINATION .)
  return()
endif()

# gzip is needed only to install or package: a build without it still builds
# the programs and the plain manual pages, and an install says what is missing.
find_program(GZIP_PROGRAM gzip)
if(NOT GZIP_PROGRAM)
  install(CODE "message(FATAL_ERROR \"gzip is needed to install the manual pages (Debian: apt-get install gzip)\")")
  return()
endif()
# The changelog in Debian's form, as the Debian package must carry it.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/CHANGELOG.md
          -DOUT=${CMAKE_BINARY_DIR}/doc/changelog -DMAINTAINER=${D88CUT_MAINTAINER}
          -P ${PROJECT_SOURCE_DIR}/cmake/debian_changelog.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/debian_changelog.cmake
  VERBATIM)
set(D88CUT_GZIPPED "")
foreach(file man/d88cut.1 man/d88info.1 doc/changelog)
  set(source ${CMAKE_BINARY_DIR}/${file})
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${file}.gz
    COMMAND ${CMAKE_COMMAND} -DGZIP=${GZIP_PROGRAM} -DIN=${source}
            -DOUT=${CMAKE_BINARY_DIR}/${file}.gz -P ${PROJECT_SOURCE_DIR}/cmake/gzip.cmake
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/gzip.cmake
    VERBATIM)
  list(APPEND D88CUT_GZIPPED ${CMAKE_BINARY_DIR}/${file}.gz)
endforeach()
add_custom_target(gzipped_documents ALL DEPENDS ${D88CUT_GZIPPED})

install(TARGETS d88cut d88info RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/man/d88cut.1.gz ${CMAKE_BINARY_DIR}/man/d88info.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
