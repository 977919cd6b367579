// Child processes and terminals on POSIX systems.
#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "testing/test_env.h"

namespace {

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

std::string programPath(const std::string& path) { return path; }
