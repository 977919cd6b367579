# SPDX-License-Identifier: MIT
# Run by CPack after each generator: adds the packages it wrote
# (CPACK_PACKAGE_FILES) to SHA256SUMS beside them, replacing older lines for
# the same names, in the form `sha256sum -c` reads.
# The files are still in CPack's work folder; they are copied, unchanged, to
# CPACK_PACKAGE_DIRECTORY, where SHA256SUMS is written.
set(sums "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name "${package}" NAME)
  set(lines "")
  if(EXISTS "${sums}")
    file(STRINGS "${sums}" lines)
    list(FILTER lines EXCLUDE REGEX "  ${name}$")
  endif()
  file(SHA256 "${package}" hash)
  list(APPEND lines "${hash}  ${name}")
  list(SORT lines COMPARE STRING)
  list(JOIN lines "\n" text)
  file(WRITE "${sums}" "${text}\n")
endforeach()
