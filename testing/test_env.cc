#include "testing/test_env.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

ScopedTempDir::ScopedTempDir() {
  std::string pattern = (fs::temp_directory_path() / "d88cut-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::vector<std::string> ScopedTempDir::entries() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) {
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

namespace {

std::string slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<char*> argvOf(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  return argv;
}

int waitForExit(pid_t pid) {
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) return WEXITSTATUS(status);
  return -1;
}

}  // namespace


ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& dir, const std::function<void()>& inChild) {
  ScopedTempDir capture;
  const std::string outPath = capture.file("out");
  const std::string errPath = capture.file("err");
  std::vector<char*> argv = argvOf(program, args);
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || chdir(dir.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (inChild) inChild();
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  ProgramResult result;
  result.status = waitForExit(pid);
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  return result;
}


ProgramResult runOnTerminal(const std::string& program, const std::vector<std::string>& args,
                            const std::string& dir, const std::function<void()>& inChild) {
  std::vector<char*> argv = argvOf(program, args);
  int master = -1;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    if (inChild) inChild();
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  ProgramResult result;
  if (pid < 0) return result;
  char chunk[4096];
  for (;;) {
    const ssize_t n = read(master, chunk, sizeof chunk);
    if (n > 0) {
      result.out.append(chunk, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // EIO once the program has exited and closed the terminal
    }
  }
  close(master);
  result.status = waitForExit(pid);
  return result;
}

std::string toString(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}
