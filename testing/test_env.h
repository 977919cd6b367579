// SPDX-License-Identifier: MIT
// Temporary files and directories, and running a program, for tests.
#ifndef D88CUT_TESTING_TEST_ENV_H_
#define D88CUT_TESTING_TEST_ENV_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries in the directory, sorted.
  std::vector<std::string> entries() const;
  // The same of any directory.
  static std::vector<std::string> entriesOf(const std::string& dir);

 private:
  std::string path_;
};

// Makes the current directory `dir` for the object's lifetime.
class ScopedCurrentDir {
 public:
  explicit ScopedCurrentDir(const std::string& dir);
  ~ScopedCurrentDir();
  ScopedCurrentDir(const ScopedCurrentDir&) = delete;
  ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

 private:
  std::string previous_;
};

struct ProgramResult {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  int signal = 0;   // the signal that ended it, or 0
  std::string out;
  std::string err;
};

// The path by which the test should start `path`: itself, or on Windows a
// path the Windows side can open (Z: for a build-time POSIX path under wine).
std::string programPath(const std::string& path);

// Runs program with args in directory dir, stdin from /dev/null, and captures
// its output. `inChild`, if given, runs in the child just before exec
// (POSIX only; ignored on Windows).
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& dir, const std::function<void()>& inChild = nullptr);

#ifndef _WIN32
// Runs program like runProgram, but on a new pseudo-terminal that is its
// standard input, output and error; `out` holds everything it wrote there
// (the terminal turns "\n" into "\r\n"), `err` stays empty.
ProgramResult runOnTerminal(const std::string& program, const std::vector<std::string>& args,
                            const std::string& dir, const std::function<void()>& inChild = nullptr);
#endif

#ifndef _WIN32
// Runs program like runProgram, stopping it at every system call it makes
// until `when` first returns true; then sends it `signal` and lets it run on.
ProgramResult runAndSignal(const std::string& program, const std::vector<std::string>& args,
                           const std::string& dir, int signal, const std::function<bool()>& when,
                           const std::function<void()>& inChild = nullptr);
#endif

// r with every CR LF in its output turned into LF, for tests that compare
// lines rather than the bytes of a text stream.
ProgramResult lfLines(ProgramResult r);

// The bytes as a string, for comparing binary files with strings.
std::string toString(const std::vector<uint8_t>& bytes);

// A whole file's bytes as a string; empty when it cannot be read.
std::string slurp(const std::string& path);

// text as a program's text-mode stream writes it: "\n" becomes "\r\n" on
// Windows, and stays as it is elsewhere.
std::string textLines(const std::string& text);

#endif  // D88CUT_TESTING_TEST_ENV_H_
