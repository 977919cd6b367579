// SPDX-License-Identifier: MIT
#include "info/report.h"

#include "info/json_text.h"
#include "platform/file_length.h"

namespace {

// One image at a time: a file may hold 64.
ImageFindings imageFound;

}  // namespace

void reportFile(D88File& disk, const char* path, const Report& r) {
  FileFindings file;
  findFile(disk, fileLength(path), &file);
  if (r.json)
    writeJsonFileStart(r, path, file);
  else
    writeTextFileStart(r, path, file, disk.imageCount());
  bool first = true;
  // An image found at several indexes in a row is shown once.
  int32_t step = 1;
  for (int32_t i = 0; i < disk.imageCount(); i += step) {
    step = 1;
    if (!findImage(disk, file, i, &imageFound)) {
      if (!r.json) writeTextUnreadableImage(r, i);
      continue;
    }
    step = imageFound.layout.times;
    if (r.json)
      writeJsonImage(disk, r, imageFound, first);
    else
      writeTextImage(disk, r, imageFound);
    first = false;
  }
  if (r.json)
    writeJsonFileEnd(r);
  else
    writeTextFileEnd(r, file);
}

void reportUnopenedFile(const char* path, const char* reason, const Report& r) {
  if (!r.json) return;
  std::fputs("{\"path\":", r.out);
  writeJsonString(r.out, path);
  std::fputs(",\"size\":0,\"error\":", r.out);
  writeJsonString(r.out, reason);
  std::fputs(",\"notes\":[],\"images\":[]}", r.out);
}
