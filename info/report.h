// d88info's report of one D88 file: as text for people, or as one JSON
// object of the document's "files" list.
#ifndef D88CUT_INFO_REPORT_H_
#define D88CUT_INFO_REPORT_H_

#include <cstdio>

#include "disk/d88_file.h"

struct Report {
  std::FILE* out;
  bool json = false;     // a JSON object instead of text
  bool sectors = false;  // text: list every track's records
  bool withPath = false; // text: start the block with the path (several files)
};

// Reports the file open in disk, found at `path`.
void reportFile(D88File& disk, const char* path, const Report& report);

// Reports a file that could not be opened: a JSON object with its error;
// nothing in text (the error goes to standard error).
void reportUnopenedFile(const char* path, const char* reason, const Report& report);

#endif  // D88CUT_INFO_REPORT_H_
