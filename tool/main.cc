// SPDX-License-Identifier: MIT
// d88cut: recognises the game's disks in a D88 file and cuts their files.
#include "disk/d88_file.h"
#include "platform/console.h"
#include "tool/messages.h"
#include "tool/run_tool.h"

// The one reader of the run; its destructor closes the D88 file at exit.
D88File d88File;

int main(int argc, char** argv) {
  initConsole();
  const int status = runTool(d88File, argc, argv, stdout, stderr);
  waitOnOwnConsole(kPressEnter);  // a window Explorer opened stays until read
  return status;
}
