// SPDX-License-Identifier: MIT
// Threads on POSIX. The page (Emscripten, built without threads) counts
// one core, so it starts none.
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include "platform/threads.h"

namespace {

struct Thread {
  pthread_t handle;
  ThreadBody body;
  void* context;
  bool running;
};

Thread threads[kMaxThreads];
pthread_mutex_t shared = PTHREAD_MUTEX_INITIALIZER;
pthread_cond_t conditions[2] = {PTHREAD_COND_INITIALIZER, PTHREAD_COND_INITIALIZER};

void* runThread(void* thread) {
  Thread* t = static_cast<Thread*>(thread);
  t->body(t->context);
  return nullptr;
}

}  // namespace

int32_t usableCores() {
#if defined(__EMSCRIPTEN__)
  return 1;
#else
#if defined(__linux__)
  // The cores this process may use (taskset, a container's share), not
  // merely those the machine has.
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
#endif
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  return online > 1 ? static_cast<int32_t>(online < 1024 ? online : 1024) : 1;
#endif
}

int32_t startThread(ThreadBody body, void* context) {
  for (int32_t i = 0; i < kMaxThreads; ++i) {
    Thread& t = threads[i];
    if (t.running) continue;
    t.body = body;
    t.context = context;
    if (pthread_create(&t.handle, nullptr, runThread, &t) != 0) return -1;
    t.running = true;
    return i;
  }
  return -1;
}

void joinThread(int32_t number) {
  if (number < 0 || number >= kMaxThreads || !threads[number].running) return;
  pthread_join(threads[number].handle, nullptr);
  threads[number].running = false;
}

void lockShared() { pthread_mutex_lock(&shared); }
void unlockShared() { pthread_mutex_unlock(&shared); }
void waitShared(int32_t condition) { pthread_cond_wait(&conditions[condition & 1], &shared); }
void wakeShared(int32_t condition) { pthread_cond_broadcast(&conditions[condition & 1]); }
