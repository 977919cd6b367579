// SPDX-License-Identifier: MIT
// Threads on Windows.
#include <windows.h>

#include "platform/threads.h"

namespace {

struct Thread {
  HANDLE handle;
  ThreadBody body;
  void* context;
};

Thread threads[kMaxThreads];
SRWLOCK shared = SRWLOCK_INIT;
CONDITION_VARIABLE conditions[2] = {CONDITION_VARIABLE_INIT, CONDITION_VARIABLE_INIT};

DWORD WINAPI runThread(void* thread) {
  Thread* t = static_cast<Thread*>(thread);
  t->body(t->context);
  return 0;
}

// The stack each thread reserves: as the program's own.
constexpr SIZE_T kStackSize = 8 << 20;

}  // namespace

int32_t usableCores() {
  DWORD_PTR process = 0;
  DWORD_PTR system = 0;
  if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) != 0 && process != 0) {
    int32_t count = 0;
    for (; process != 0; process &= process - 1) ++count;
    return count;
  }
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 1 ? static_cast<int32_t>(info.dwNumberOfProcessors) : 1;
}

int32_t startThread(ThreadBody body, void* context) {
  for (int32_t i = 0; i < kMaxThreads; ++i) {
    Thread& t = threads[i];
    if (t.handle != nullptr) continue;
    t.body = body;
    t.context = context;
    t.handle = CreateThread(nullptr, kStackSize, runThread, &t, STACK_SIZE_PARAM_IS_A_RESERVATION,
                            nullptr);
    return t.handle != nullptr ? i : -1;
  }
  return -1;
}

void joinThread(int32_t number) {
  if (number < 0 || number >= kMaxThreads || threads[number].handle == nullptr) return;
  WaitForSingleObject(threads[number].handle, INFINITE);
  CloseHandle(threads[number].handle);
  threads[number].handle = nullptr;
}

void lockShared() { AcquireSRWLockExclusive(&shared); }
void unlockShared() { ReleaseSRWLockExclusive(&shared); }
void waitShared(int32_t condition) {
  SleepConditionVariableSRW(&conditions[condition & 1], &shared, INFINITE, 0);
}
void wakeShared(int32_t condition) { WakeAllConditionVariable(&conditions[condition & 1]); }
