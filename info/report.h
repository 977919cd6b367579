// SPDX-License-Identifier: MIT
// d88info's report of one D88 file: as text for people, or as one JSON
// object of the document's "files" list. report.cc finds (findings.h), then
// text_report.cc or json_report.cc writes what was found.
#ifndef D88CUT_INFO_REPORT_H_
#define D88CUT_INFO_REPORT_H_

#include <cstdio>

#include "disk/d88_file.h"
#include "info/findings.h"

struct Report {
  std::FILE* out;
  bool json = false;      // a JSON object instead of text
  bool sectors = false;   // list every track's records
  bool withPath = false;  // text: start the block with the path (several files)
  // JSON: the archive the file was read from and its entry's name (null for
  // a compressed file's one entry), or null for a loose file.
  const char* archive = nullptr;
  const char* entry = nullptr;
};

// Reports the file open in disk, found at `path` (or named so, inside an
// archive), of `size` bytes (-1: ask the file system). Returns false when a read
// of it failed (D88File::readError): the report stops there, the JSON object
// is closed with the reason as "readError", and the caller says so.
bool reportFile(D88File& disk, const char* path, int64_t size, const Report& report);

// Reports a file that could not be opened: a JSON object with its error;
// nothing in text (the error goes to standard error).
void reportUnopenedFile(const char* path, const char* reason, const Report& report);

// Reports an archive (of kind `kindName`, "zip archive") that holds no
// file: a line, or a JSON object whose "notD88" says so.
void reportEmptyArchive(const char* path, const char* kindName, const Report& report);

// The two renderings, each from the findings alone. Records of listed tracks
// are walked again from their found start to be written; nothing is decided
// anew. An image whose header could not be read is written by index only.
void writeTextFileStart(const Report& r, const char* path, const FileFindings& file,
                        int32_t imageCount);
void writeTextImage(D88File& disk, const Report& r, const ImageFindings& image);
void writeTextUnreadableImage(const Report& r, int32_t index);
void writeTextFileEnd(const Report& r, const FileFindings& file);

// ,"archive":...,"entry":... for a file read from an archive; nothing else.
void writeJsonArchive(const Report& r);
void writeJsonFileStart(const Report& r, const char* path, const FileFindings& file);
void writeJsonImage(D88File& disk, const Report& r, const ImageFindings& image, bool first);
void writeJsonUnreadableImage(const Report& r, int32_t index, bool first);
// `readError`: the errno value of a failed read, or 0.
void writeJsonFileEnd(const Report& r, int readError);

#endif  // D88CUT_INFO_REPORT_H_
