// SPDX-License-Identifier: MIT
// The programs in a web page: d88cut and d88info run on D88 files the page
// put into the in-memory file system, in the folder the page made current.
// What they say goes into files there, for the page to read and show.
//
//   cut LOG STATUS d88cut ARGS...   d88cut; both streams into LOG, in order
//                                   (as `>log 2>&1`), what became of each of
//                                   the game's files into STATUS (JSON)
// Everything they write is UTF-8, for the page to show any name right.
//   info OUT ERR d88info ARGS...    d88info; its two streams into OUT and ERR
//   runs OUT                        the sectors of each file's run (JSON)
#include <cstdio>
#include <cstring>

#include "disk/d88_file.h"
#include "game/file_run.h"
#include "game/file_table.h"
#include "info/run_info.h"
#include "platform/console.h"
#include "tool/run_files.h"
#include "tool/run_tool.h"

namespace {

D88File d88File;

// What became of each of the game's files: {"LOADER":{"state":"complete",
// "written":true},...}; state "none" when no cut of it was tried. A file
// the run did not write is not offered: what lies under its name is not its cut.
void writeOutcomes(std::FILE* out, const RunFiles& files) {
  std::fputc('{', out);
  for (const FileEntry* entry : gameFiles) {
    CutStatus last = CutStatus::kComplete;
    const bool tried = files.tried(entry->name, &last);
    const bool complete = files.completeSource(entry->name).image >= 0;
    std::fprintf(out, "%s\"%s\":{\"state\":\"%s\",\"written\":%s}",
                 entry == gameFiles[0] ? "" : ",", entry->name,
                 !tried     ? "none"
                 : complete ? cutStatusText(CutStatus::kComplete).key
                            : cutStatusText(last).key,
                 files.written(entry->name) ? "true" : "false");
  }
  std::fputs("}\n", out);
}

struct SectorList {
  std::FILE* out;
  bool first;
};

void writeSector(void* context, const SectorAddress& at) {
  auto* list = static_cast<SectorList*>(context);
  std::fprintf(list->out, "%s[%d,%d,%d,%d]", list->first ? "" : ",", static_cast<int>(at.track),
               static_cast<int>(at.c), static_cast<int>(at.h), static_cast<int>(at.r));
  list->first = false;
}

// The sectors of each file's run, the disk it is cut from, and where the
// file lies in the run: {"LOADER":{"disk":"system","offset":0,"length":16384,
// "sectors":[[track,c,h,r],...]},...}.
int writeRuns(const char* path) {
  std::FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return 2;
  std::fputc('{', out);
  for (const FileEntry* entry : gameFiles) {
    std::fprintf(out, "%s\"%s\":{\"disk\":\"%s\",\"offset\":%d,\"length\":%d,\"sectors\":[",
                 entry == gameFiles[0] ? "" : ",", entry->name,
                 entry == &scenarioDisk4File ? "scenario 4" : "system",
                 static_cast<int>(entry->offset), static_cast<int>(entry->length));
    SectorList list = {out, true};
    forEachRunSector(*entry, writeSector, &list);
    std::fputs("]}", out);
  }
  std::fputs("}\n", out);
  std::fclose(out);
  return 0;
}

int runCut(int argc, char** argv) {
  std::FILE* log = std::fopen(argv[2], "wb");
  std::FILE* status = std::fopen(argv[3], "wb");
  if (log == nullptr || status == nullptr) return 2;
  RunFiles files;
  const int result = runTool(d88File, argc - 4, argv + 4, log, log, &files);
  writeOutcomes(status, files);
  std::fclose(log);
  std::fclose(status);
  return result;
}

// A program with its two streams apart, into the files argv[2] and argv[3]:
// d88cut -l (its list on one, notes on the other) or d88info.
int runApart(int argc, char** argv, bool info) {
  std::FILE* out = std::fopen(argv[2], "wb");
  std::FILE* err = std::fopen(argv[3], "wb");
  if (out == nullptr || err == nullptr) return 2;
  const int result = info ? runInfo(d88File, argc - 4, argv + 4, out, err)
                          : runTool(d88File, argc - 4, argv + 4, out, err);
  std::fclose(out);
  std::fclose(err);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  initConsole();
  showUtf8OnEveryStream();  // the page reads what the programs write as UTF-8
  if (argc >= 5 && std::strcmp(argv[1], "cut") == 0) return runCut(argc, argv);
  if (argc >= 5 && std::strcmp(argv[1], "info") == 0) return runApart(argc, argv, true);
  if (argc >= 5 && std::strcmp(argv[1], "list") == 0) return runApart(argc, argv, false);
  if (argc == 3 && std::strcmp(argv[1], "runs") == 0) return writeRuns(argv[2]);
  return 2;
}
