# SPDX-License-Identifier: MIT
# CPack: a tarball and a Debian package on Linux, a zip on Windows, all named
# with the project's version (`cmake --workflow --preset package`,
# `... package-windows`).
set(CPACK_PACKAGE_NAME d88cut)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The d88cut authors")
set(CPACK_PACKAGE_CONTACT "${D88CUT_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${D88CUT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "recognise a game's disks in a D88 file and cut its files")
set(CPACK_PACKAGE_DESCRIPTION
    "d88cut looks at every disk image in a D88 file (floppy-disk images stored\n\
back to back), recognises a game's system disk and its four scenario disks,\n\
and cuts four of the game's files out of fixed sector runs into the current\n\
directory. d88info shows D88 files as they are laid out, notes what is wrong\n\
with a damaged one, and says what d88cut would make of each image.")
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# SHA256SUMS beside the packages, for `sha256sum -c SHA256SUMS` there.
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/checksums.cmake)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "d88cut-${PROJECT_VERSION}-win64")
else()
  set(CPACK_GENERATOR "TGZ;DEB")
  set(CPACK_PACKAGE_FILE_NAME "d88cut-${PROJECT_VERSION}-Linux-${CMAKE_SYSTEM_PROCESSOR}")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # d88cut_VERSION_ARCH.deb
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Loaded only to read archives: recommended, not a dependency.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libarchive13")
endif()
include(CPack)
