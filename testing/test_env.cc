// SPDX-License-Identifier: MIT
#include "testing/test_env.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

ScopedTempDir::ScopedTempDir() {
  std::random_device random;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const fs::path candidate =
        fs::temp_directory_path() / ("d88cut-test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) path_ = candidate.generic_string();
  }
  if (path_.empty()) throw std::runtime_error("cannot create a temporary directory");
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::vector<std::string> ScopedTempDir::entries() const { return entriesOf(path_); }

std::vector<std::string> ScopedTempDir::entriesOf(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

ScopedCurrentDir::ScopedCurrentDir(const std::string& dir) {
  previous_ = fs::current_path().string();
  fs::current_path(dir);
}

ScopedCurrentDir::~ScopedCurrentDir() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

std::string slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string toString(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::string textLines(const std::string& text) {
#ifdef _WIN32
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
#else
  return text;
#endif
}

ProgramResult lfLines(ProgramResult r) {
  for (std::string* text : {&r.out, &r.err}) {
    std::string lf;
    for (std::size_t i = 0; i < text->size(); ++i) {
      if ((*text)[i] != '\r' || i + 1 == text->size() || (*text)[i + 1] != '\n') lf += (*text)[i];
    }
    *text = lf;
  }
  return r;
}
