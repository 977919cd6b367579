// SPDX-License-Identifier: MIT
#include "info/report.h"

#include <cstdio>

#include "info/copies.h"
#include "info/json_text.h"
#include "info/messages.h"
#include "input/d88_inputs.h"
#include "platform/console.h"

namespace {

// One image at a time: a file may hold 64.
ImageFindings imageFound;

}  // namespace

bool reportFile(D88File& disk, const char* path, int64_t size, const Report& r) {
  FileFindings file;
  findFile(disk, inputLength(disk, size, path), &file);
  if (disk.readError() != 0) {
    // Nothing found is sure: no word on images or notes.
    if (r.json) {
      writeJsonFileStart(r, path, FileFindings{});
      writeJsonFileEnd(r, disk.readError());
    }
    return false;
  }
  if (r.json)
    writeJsonFileStart(r, path, file);
  else
    writeTextFileStart(r, path, file, disk.imageCount());
  if (file.verdict.kind != D88Verdict::kD88) {
    // Nothing in it is an image: none is shown.
    if (r.json) writeJsonFileEnd(r, 0);
    return true;
  }
  bool first = true;
  // An image found at several indexes in a row is shown once.
  int32_t step = 1;
  for (int32_t i = 0; i < disk.imageCount(); i += step) {
    step = 1;
    const bool found = findImage(disk, file, i, &imageFound);
    if (found) addCopies(disk, &imageFound.game, path, i);
    if (disk.readError() != 0) break;  // what it holds cannot be told
    if (!found) {
      if (r.json)
        writeJsonUnreadableImage(r, i, first);
      else
        writeTextUnreadableImage(r, i);
      first = false;
      continue;
    }
    step = imageFound.layout.times;
    if (r.json)
      writeJsonImage(disk, r, imageFound, first);
    else
      writeTextImage(disk, r, imageFound);
    first = false;
    if (disk.readError() != 0) break;
  }
  if (r.json)
    writeJsonFileEnd(r, disk.readError());
  else if (disk.readError() == 0)
    writeTextFileEnd(r, file);
  return disk.readError() == 0;
}

namespace {

// A JSON record of a file with no image: its path, its archive, and `key`
// (why it has none) with `text`.
void writeImagelessRecord(const char* path, const char* key, const char* text, const Report& r) {
  std::fputs("{\"path\":", r.out);
  writeJsonString(r.out, path);
  writeJsonArchive(r);
  std::fprintf(r.out, ",\"size\":0,\"%s\":", key);
  writeJsonString(r.out, text);
  std::fputs(",\"notes\":[],\"images\":[]}", r.out);
}

}  // namespace

void reportUnopenedFile(const char* path, const char* reason, const Report& r) {
  if (r.json) writeImagelessRecord(path, "error", reason, r);
}

void reportEmptyArchive(const char* path, const char* kindName, const Report& r) {
  if (!r.json) {
    printMessage(r.out, kInfoEmptyArchive, Shown(path, r.out).text(), kindName);
    return;
  }
  char why[128];
  std::snprintf(why, sizeof why, kInfoEmptyArchiveWhy, kindName);
  writeImagelessRecord(path, "notD88", why, r);
}
