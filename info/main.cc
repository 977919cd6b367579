// SPDX-License-Identifier: MIT
// d88info: shows what is inside a D88 file before it is cut.
#include "disk/d88_file.h"
#include "info/run_info.h"
#include "platform/console.h"

D88File d88File;

int main(int argc, char** argv) {
  initConsole();
  return runInfo(d88File, argc, argv, stdout, stderr);
}
