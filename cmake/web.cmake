# SPDX-License-Identifier: MIT
# The web page (`cmake --workflow --preset web`, Emscripten): d88cut's and
# d88info's own code in WebAssembly, with the page's HTML, CSS and script and
# the zip library, in one HTML file that works opened straight from disk.
add_executable(d88web web/d88web.cc)
target_link_libraries(d88web PRIVATE d88tool d88info_core)
target_link_options(d88web PRIVATE
  -sSINGLE_FILE=1 -sMODULARIZE=1 -sEXPORT_NAME=createD88Web -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
  -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=2GB -sFORCE_FILESYSTEM=1 -sENVIRONMENT=web,worker
  "-sEXPORTED_RUNTIME_METHODS=['FS','callMain']")

# The page's libraries from the npm registry, as package-lock.json pins them,
# installed into the build folder: fflate for the zip, playwright-core for
# the test.
set(D88CUT_WEB_NPM ${CMAKE_BINARY_DIR}/web-npm)
add_custom_command(OUTPUT ${D88CUT_WEB_NPM}/node_modules/fflate/umd/index.js
  COMMAND ${CMAKE_COMMAND} -E make_directory ${D88CUT_WEB_NPM}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/web/package.json
          ${PROJECT_SOURCE_DIR}/web/package-lock.json ${D88CUT_WEB_NPM}
  COMMAND npm ci --prefix ${D88CUT_WEB_NPM} --no-audit --no-fund --loglevel=error
  DEPENDS ${PROJECT_SOURCE_DIR}/web/package.json ${PROJECT_SOURCE_DIR}/web/package-lock.json
  VERBATIM)

set(D88CUT_WEB_PAGE ${CMAKE_BINARY_DIR}/d88cut-${PROJECT_VERSION}-web.html)
add_custom_command(OUTPUT ${D88CUT_WEB_PAGE} ${CMAKE_BINARY_DIR}/SHA256SUMS
  COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${PROJECT_SOURCE_DIR}/web/page.html
          -DSCRIPT=${PROJECT_SOURCE_DIR}/web/page.js -DMAP=${PROJECT_SOURCE_DIR}/web/map.js
          -DSTYLE=${PROJECT_SOURCE_DIR}/web/page.css
          -DPROGRAMS=$<TARGET_FILE:d88web>
          -DZIP=${D88CUT_WEB_NPM}/node_modules/fflate/umd/index.js
          -DVERSION=${PROJECT_VERSION} -DOUT=${D88CUT_WEB_PAGE}
          -P ${PROJECT_SOURCE_DIR}/cmake/web_page.cmake
  DEPENDS d88web ${PROJECT_SOURCE_DIR}/web/page.html ${PROJECT_SOURCE_DIR}/web/page.js
          ${PROJECT_SOURCE_DIR}/web/map.js
          ${PROJECT_SOURCE_DIR}/web/page.css ${PROJECT_SOURCE_DIR}/cmake/web_page.cmake
          ${D88CUT_WEB_NPM}/node_modules/fflate/umd/index.js
  VERBATIM)
add_custom_target(web_page ALL DEPENDS ${D88CUT_WEB_PAGE})

# The page in headless Chromium, against the console d88cut of this source
# tree (built by the test into build/ when it is not there).
enable_testing()
add_test(NAME Web.PageInChromium
  COMMAND node ${PROJECT_SOURCE_DIR}/web/test/page_test.cjs ${D88CUT_WEB_PAGE}
          ${PROJECT_SOURCE_DIR})
set_tests_properties(Web.PageInChromium PROPERTIES
  ENVIRONMENT "NODE_PATH=${D88CUT_WEB_NPM}/node_modules" TIMEOUT 600)
