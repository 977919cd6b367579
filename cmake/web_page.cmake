# SPDX-License-Identifier: MIT
# Writes OUT, the web page: TEMPLATE with the style, the zip library, the
# programs (Emscripten's script with the WebAssembly inside), the map's and
# the page's scripts put in place, and the version; then SHA256SUMS beside it.
#   cmake -DTEMPLATE=... -DSTYLE=... -DZIP=... -DPROGRAMS=... -DMAP=... -DSCRIPT=...
#         -DVERSION=... -DOUT=... -P web_page.cmake
cmake_minimum_required(VERSION 3.25)  # "@NAME@" in a string is the text itself
file(READ "${TEMPLATE}" page)
foreach(part STYLE ZIP PROGRAMS MAP SCRIPT)
  file(READ "${${part}}" text)
  # Inside a <script> or <style> element, "</" must not start a closing tag.
  string(REPLACE "</" "<\\/" text "${text}")
  string(REPLACE "@${part}@" "${text}" page "${page}")
endforeach()
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
file(WRITE "${OUT}" "${page}")
get_filename_component(name "${OUT}" NAME)
get_filename_component(folder "${OUT}" DIRECTORY)
file(SHA256 "${OUT}" sum)
file(WRITE "${folder}/SHA256SUMS" "${sum}  ${name}\n")
