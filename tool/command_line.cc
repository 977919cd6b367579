// SPDX-License-Identifier: MIT
#include "tool/command_line.h"

#include <cstring>

namespace {

enum class Kind {
  kPath,
  kHelp,
  kVersion,
  kDryRun,
  kList,
  kJson,
  kOutputDir,
  kUnknown,
  kValueMissing
};

struct Word {
  Kind kind;
  const char* text;   // the word itself
  const char* value;  // kOutputDir: the folder
};

bool startsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Reads the word at argv[*at] (and the folder after -d), moving *at past
// them; *ended tells, and is set by, a "--" before it. False at the end.
// Every word after "--", and a lone "-", is a path.
bool readWord(int argc, const char* const* argv, int* at, bool* ended, Word* word) {
  while (*at < argc) {
    const char* text = argv[(*at)++];
    *word = Word{Kind::kPath, text, nullptr};
    if (*ended || text[0] != '-' || text[1] == '\0') return true;
    if (std::strcmp(text, "--") == 0) {
      *ended = true;
      continue;
    }
    if (std::strcmp(text, "-h") == 0 || std::strcmp(text, "--help") == 0) {
      word->kind = Kind::kHelp;
    } else if (std::strcmp(text, "--version") == 0) {
      word->kind = Kind::kVersion;
    } else if (std::strcmp(text, "-n") == 0 || std::strcmp(text, "--dry-run") == 0) {
      word->kind = Kind::kDryRun;
    } else if (std::strcmp(text, "-l") == 0 || std::strcmp(text, "--list") == 0) {
      word->kind = Kind::kList;
    } else if (std::strcmp(text, "--json") == 0) {
      word->kind = Kind::kJson;
    } else if (std::strcmp(text, "-d") == 0 || std::strcmp(text, "--output-dir") == 0) {
      word->kind = *at < argc ? Kind::kOutputDir : Kind::kValueMissing;
      if (*at < argc) word->value = argv[(*at)++];
    } else if (startsWith(text, "--output-dir=")) {
      word->kind = Kind::kOutputDir;
      word->value = text + std::strlen("--output-dir=");
    } else if (text[1] == 'd') {  // -dDIR
      word->kind = Kind::kOutputDir;
      word->value = text + 2;
    } else {
      word->kind = Kind::kUnknown;
    }
    return true;
  }
  return false;
}

}  // namespace

void parseToolOptions(int argc, const char* const* argv, ToolOptions* options) {
  *options = ToolOptions{};
  int at = 1;
  bool ended = false;
  Word word;
  while (readWord(argc, argv, &at, &ended, &word)) {
    switch (word.kind) {
      case Kind::kPath:
        ++options->paths;
        break;
      case Kind::kHelp:
        options->help = true;
        break;
      case Kind::kVersion:
        options->version = true;
        break;
      case Kind::kDryRun:
        options->dryRun = true;
        break;
      case Kind::kList:
        options->list = true;
        break;
      case Kind::kJson:
        options->json = true;
        break;
      case Kind::kOutputDir:
        options->outputDir = word.value;
        break;
      case Kind::kUnknown:
      case Kind::kValueMissing:
        if (options->badOption == nullptr) {
          options->badOption = word.text;
          options->valueMissing = word.kind == Kind::kValueMissing;
        }
        break;
    }
  }
}

const char* nextToolPath(int argc, const char* const* argv, PathWalk* walk) {
  Word word;
  while (readWord(argc, argv, &walk->at, &walk->ended, &word)) {
    if (word.kind == Kind::kPath) return word.text;
  }
  return nullptr;
}
