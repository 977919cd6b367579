// Temporary files and directories, and running a program, for tests.
#ifndef D88CUT_TESTING_TEST_ENV_H_
#define D88CUT_TESTING_TEST_ENV_H_

#include <functional>
#include <string>
#include <vector>

#include <cstdint>

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
  std::string out;
  std::string err;
};

// Runs program with args in directory dir, stdin from /dev/null, and captures
// its output. `inChild`, if given, runs in the child just before exec.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& dir,
                         const std::function<void()>& inChild = nullptr);

// Runs program like runProgram, but on a new pseudo-terminal that is its
// standard input, output and error; `out` holds everything it wrote there
// (the terminal turns "\n" into "\r\n"), `err` stays empty.
ProgramResult runOnTerminal(const std::string& program, const std::vector<std::string>& args,
                            const std::string& dir,
                            const std::function<void()>& inChild = nullptr);

// The bytes of s as a vector, for comparing binary files with strings.
std::string toString(const std::vector<uint8_t>& bytes);

#endif  // D88CUT_TESTING_TEST_ENV_H_
