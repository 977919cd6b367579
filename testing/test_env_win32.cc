// SPDX-License-Identifier: MIT
// Child processes on Windows.
#include <windows.h>

#include "testing/test_env.h"

namespace {

std::string backslashes(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Quotes an argument for the C runtime's command-line parser.
std::string quoted(const std::string& arg) {
  std::string out = "\"";
  std::size_t slashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    out.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, '\\');
  return out + "\"";
}

HANDLE inheritable(const std::string& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, TRUE};
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::string programPath(const std::string& path) {
  // A path written at build time on the POSIX side, run under wine: drive Z:
  // is the POSIX root.
  if (!path.empty() && path[0] == '/') return "Z:" + backslashes(path);
  return backslashes(path);
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& dir, const std::function<void()>&) {
  ScopedTempDir capture;
  const std::string outPath = capture.file("out");
  const std::string errPath = capture.file("err");
  ProgramResult result;
  {
    HANDLE in = inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = inheritable(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = inheritable(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    const std::string path = programPath(program);
    std::string commandLine = quoted(path);
    for (const std::string& arg : args) commandLine += " " + quoted(arg);
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       dir.c_str(), &startup, &process)) {
      WaitForSingleObject(process.hProcess, INFINITE);
      DWORD code = 0;
      if (GetExitCodeProcess(process.hProcess, &code)) result.status = static_cast<int>(code);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
  }
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  return result;
}
