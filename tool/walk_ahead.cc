// SPDX-License-Identifier: MIT
#include "tool/walk_ahead.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "disk/d88_file.h"
#include "game/recognition.h"
#include "input/d88_inputs.h"
#include "platform/threads.h"
#include "tool/cut_images.h"

namespace {

// Files read ahead of the run at most: enough to keep every worker busy
// while the run cuts a file of the game.
constexpr int64_t kWindow = 64;

enum class SlotState { kQueued, kTaken, kDone };

// One step of the walk. A worker reads a queued slot's path outside the
// lock: the run leaves a slot alone from queuing it until it is done.
struct Slot {
  WalkStep step;
  int error;
  SlotState state;
  WalkedFile found;
  char path[kWalkPathSize];
};

// What one worker reads with: a thread has its own.
struct Worker {
  D88File disk;
  D88Inputs inputs;
  uint8_t sectors[kSignatureSectorLength];
  int32_t thread = -1;
};

FolderWalk walk;
Slot slots[kWindow];
// On the heap while a walk runs: one per thread, and the run's own.
Worker* workers = nullptr;
int32_t threadCount = 0;
Worker* runWorker = nullptr;
// The slots numbered [first, filled) are in use, first the next to hand
// back. Only the run's thread changes them, under the lock.
int64_t first = 0;
int64_t filled = 0;
bool walkEnded = false;
// Under the lock: who waits, so that nobody is woken for nothing.
int32_t idleWorkers = 0;
bool runWaits = false;  // for the slot numbered first
bool stopping = false;  // workers end once nothing is queued

Slot& slotNumbered(int64_t number) { return slots[number % kWindow]; }

// Reads every D88 file the file at `path` gives, as a quiet walk does.
void lookAt(Worker& w, const char* path, WalkedFile* found) {
  *found = WalkedFile{};
  w.inputs.start(path);
  w.inputs.setPassOver(holdsNoGameDisk);
  D88Input input;
  for (InputStep step; (step = w.inputs.next(w.disk, &input)) != InputStep::kEnd;) {
    if (step == InputStep::kD88) {
      const WalkedKind kind = walkedKindOf(w.disk, input, w.sectors);
      found->d88Files += kind != WalkedKind::kOther ? 1 : 0;
      found->readAgain = found->readAgain || kind == WalkedKind::kGame;
    } else if (step == InputStep::kD88PassedOver) {
      ++found->d88Files;
    } else if (step != InputStep::kNotD88) {
      found->readAgain = true;  // a failure, named by the run
    }
  }
  w.disk.close();
  found->archives = w.inputs.archiveCount();
}

// The oldest queued slot, now taken; null when none is queued.
// REQUIRES: the lock held.
Slot* takeQueued() {
  for (int64_t n = first; n < filled; ++n) {
    Slot& slot = slotNumbered(n);
    if (slot.state == SlotState::kQueued) {
      slot.state = SlotState::kTaken;
      return &slot;
    }
  }
  return nullptr;
}

// Reads the taken slot's file with the lock let go, then marks it done.
// REQUIRES: the lock held; it is held again on return.
void readSlot(Worker& w, Slot& slot) {
  unlockShared();
  WalkedFile found;
  lookAt(w, slot.path, &found);
  lockShared();
  slot.found = found;
  slot.state = SlotState::kDone;
  if (runWaits && &slot == &slotNumbered(first)) wakeShared(kRunWait);
}

// A worker's thread: reads the oldest queued file, again and again; ends
// when the walk stops with nothing queued.
void work(void* context) {
  Worker& w = *static_cast<Worker*>(context);
  lockShared();
  for (;;) {
    Slot* slot = takeQueued();
    if (slot != nullptr) {
      readSlot(w, *slot);
    } else if (stopping) {
      break;
    } else {
      ++idleWorkers;
      waitShared(kWorkersWait);
      --idleWorkers;
    }
  }
  unlockShared();
}

// Takes the walk's next steps into the free slots, then hands them to the
// workers at once.
void fill() {
  int64_t end = filled;
  while (!walkEnded && end - first < kWindow) {
    const WalkStep step = walk.next();
    if (step == WalkStep::kEnd) {
      walkEnded = true;
      break;
    }
    Slot& slot = slotNumbered(end++);
    slot.step = step;
    slot.error = walk.error();
    slot.state = step == WalkStep::kFile ? SlotState::kQueued : SlotState::kDone;
    std::snprintf(slot.path, sizeof slot.path, "%s", walk.path());
  }
  if (end == filled) return;
  lockShared();
  filled = end;
  if (idleWorkers > 0) wakeShared(kWorkersWait);
  unlockShared();
}

void stopWorkers() {
  lockShared();
  stopping = true;
  wakeShared(kWorkersWait);
  unlockShared();
  for (int32_t i = 0; i < threadCount; ++i) {
    joinThread(workers[i].thread);
    workers[i].~Worker();
  }
  if (runWorker != nullptr) runWorker->~Worker();
  std::free(workers);
  workers = runWorker = nullptr;
  threadCount = 0;
}

}  // namespace

bool startWalkAhead(const char* path) {
  const int32_t cores = usableCores();
  // The run's thread reads files too while it waits for the next one.
  const int32_t wanted = (cores < kMaxWalkWorkers ? cores : kMaxWalkWorkers) - 1;
  if (wanted < 1) return false;
  const std::size_t room = sizeof(Worker) * static_cast<std::size_t>(wanted + 1);
  workers = static_cast<Worker*>(std::malloc(room));
  if (workers == nullptr) return false;
  walk.start(path);
  first = filled = 0;
  walkEnded = stopping = runWaits = false;
  idleWorkers = 0;
  runWorker = new (&workers[wanted]) Worker;
  for (threadCount = 0; threadCount < wanted; ++threadCount) {
    Worker* w = new (&workers[threadCount]) Worker;
    w->thread = startThread(work, w);
    if (w->thread < 0) {
      w->~Worker();
      break;
    }
  }
  if (threadCount > 0) return true;
  stopWorkers();
  return false;
}

WalkStep nextWalkAhead(const char** path, int* error, WalkedFile* found) {
  fill();
  if (first == filled) {
    stopWorkers();
    return WalkStep::kEnd;
  }
  Slot& slot = slotNumbered(first);
  lockShared();
  while (slot.state != SlotState::kDone) {
    Slot* queued = takeQueued();  // the run reads too: perhaps the one it waits for
    if (queued != nullptr) {
      readSlot(*runWorker, *queued);
      continue;
    }
    runWaits = true;
    waitShared(kRunWait);
    runWaits = false;
  }
  ++first;  // its bytes stay until the next call fills it again
  unlockShared();
  *path = slot.path;
  *error = slot.error;
  *found = slot.found;
  return slot.step;
}
