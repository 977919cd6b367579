// SPDX-License-Identifier: MIT
// Child processes and terminals on POSIX systems.
#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/ptrace.h>
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

void waitForExit(pid_t pid, ProgramResult* result) {
  int status = 0;
  if (pid <= 0 || waitpid(pid, &status, 0) != pid) return;
  if (WIFEXITED(status)) result->status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result->signal = WTERMSIG(status);
}

// In a child: standard input from /dev/null, output and error to the files,
// the work directory `dir`.
void redirectChild(const std::string& outPath, const std::string& errPath, const std::string& dir) {
  const int in = open("/dev/null", O_RDONLY);
  const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0 || err < 0 || chdir(dir.c_str()) != 0) _exit(127);
  dup2(in, 0);
  dup2(out, 1);
  dup2(err, 2);
}

// Steps the traced child from system call to system call until `when` says
// so, then signals it and lets it go.
void signalWhen(pid_t pid, int signal, const std::function<bool()>& when) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return;  // stopped at exec
  while (WIFSTOPPED(status)) {
    const int pass = WSTOPSIG(status) == SIGTRAP ? 0 : WSTOPSIG(status);
    if (when()) {
      kill(pid, signal);
      ptrace(PTRACE_DETACH, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(pass)));
      return;
    }
    if (ptrace(PTRACE_SYSCALL, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(pass))) !=
            0 ||
        waitpid(pid, &status, 0) != pid) {
      return;
    }
  }
}

}  // namespace

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& dir, const std::function<void()>& inChild) {
  return runAndSignal(program, args, dir, 0, nullptr, inChild);
}

ProgramResult runAndSignal(const std::string& program, const std::vector<std::string>& args,
                           const std::string& dir, int signal, const std::function<bool()>& when,
                           const std::function<void()>& inChild) {
  ScopedTempDir capture;
  const std::string outPath = capture.file("out");
  const std::string errPath = capture.file("err");
  std::vector<char*> argv = argvOf(program, args);
  const pid_t pid = fork();
  if (pid == 0) {
    redirectChild(outPath, errPath, dir);
    if (inChild) inChild();
    if (when) ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  if (when) signalWhen(pid, signal, when);
  ProgramResult result;
  waitForExit(pid, &result);
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
  waitForExit(pid, &result);
  return result;
}

std::string programPath(const std::string& path) { return path; }
