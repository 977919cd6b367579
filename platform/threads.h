// SPDX-License-Identifier: MIT
// Threads that spread a folder walk's files over the cores:
// threads_posix.cc (POSIX threads; none in the page) and threads_win32.cc.
// A run that walks no folder starts none. Prints nothing.
#ifndef D88CUT_PLATFORM_THREADS_H_
#define D88CUT_PLATFORM_THREADS_H_

#include <cstdint>

// The cores this process may run on (at least 1); 1 where no thread can be
// started (the page).
int32_t usableCores();

using ThreadBody = void (*)(void* context);

// Threads started at once, at most.
inline constexpr int32_t kMaxThreads = 16;

// Starts a thread that runs body(context). Returns its number for
// joinThread, or -1 when it cannot be started (or kMaxThreads run).
int32_t startThread(ThreadBody body, void* context);

// Waits for thread `number` (from startThread) to end, and frees it.
void joinThread(int32_t number);

// The one lock of the process that threads share, and two conditions on it
// (kWorkersWait, kRunWait: who waits for what is the caller's to say). It
// also guards what the platform sets up once on first use (the archive
// library, its locale): never call into the platform with it held.
// waitShared unlocks while it waits and holds the lock again when woken
// (perhaps for nothing: check what was waited for); wakeShared wakes every
// thread waiting on the condition. REQUIRES for both: the lock held.
inline constexpr int32_t kWorkersWait = 0;
inline constexpr int32_t kRunWait = 1;
void lockShared();
void unlockShared();
void waitShared(int32_t condition);
void wakeShared(int32_t condition);

#endif  // D88CUT_PLATFORM_THREADS_H_
