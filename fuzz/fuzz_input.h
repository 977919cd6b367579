// SPDX-License-Identifier: MIT
// The fuzzers hand the reader a real file, as the tools do.
#ifndef D88CUT_FUZZ_FUZZ_INPUT_H_
#define D88CUT_FUZZ_FUZZ_INPUT_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Replaces the contents of this process's input file with data[0..size) and
// returns its path. The file lives in memory where the system offers it
// (/dev/shm) and is removed at exit.
const char* writeFuzzInput(const uint8_t* data, std::size_t size);

// A fresh directory in the same place, removed (with its files) at exit.
std::string makeScratchDir();

// /dev/null opened for writing, for the tools' messages; fails the fuzzer if
// it cannot be opened.
std::FILE* openSink();

// Stops the process so that libFuzzer keeps the input that broke a promise.
[[noreturn]] void fuzzFail(const char* what);

#endif  // D88CUT_FUZZ_FUZZ_INPUT_H_
