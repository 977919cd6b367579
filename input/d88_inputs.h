// SPDX-License-Identifier: MIT
// The D88 files one file gives: the file itself, what a pipe or standard
// input ("-") sends, or each D88 file inside an archive or a compressed file
// (platform/archive.h), in the archive's order, archives inside it opened in
// turn (to kMaxNesting deep), each streamed from its outer entry. A file or
// an entry is taken as an archive by its first bytes, and only when they are
// no D88 image header; an entry that is neither is passed over after its
// first bytes where its size is recorded. Prints nothing; a plain D88 file
// costs no more than opening it.
#ifndef D88CUT_INPUT_D88_INPUTS_H_
#define D88CUT_INPUT_D88_INPUTS_H_

#include <cstddef>
#include <cstdint>

#include "disk/d88_file.h"
#include "disk/d88_verdict.h"
#include "platform/archive.h"

// The most bytes a D88 file can hold: 64 images of the largest disk size.
// An entry or a stream of more is refused unread.
inline constexpr int64_t kMaxD88FileSize = kMaxImages * kMaxImageSize;

// Archives opened inside the one named, at most.
inline constexpr int kMaxNesting = 4;

// One D88 file of the run.
struct D88Input {
  const char* name = nullptr;  // as messages name it: the path, "ARCHIVE:ENTRY", or a chain
                               // of them for a nested entry ("a.7z:b.zip:c.d88")
  const char* archive =
      nullptr;                  // the archive (a chain, nested) it is in, or null for a loose file
  const char* entry = nullptr;  // the entry's name, or null (loose, or compressed whole)
  int64_t size = -1;            // its bytes; -1 for a file on disk (ask its path)
};

enum class InputStep {
  kD88,            // the D88 file is open in the reader
  kNotD88,         // an archive entry that is no D88 file (verdict()), open in the reader
  kD88PassedOver,  // a D88 entry the pass-over judge let go after its head (setPassOver)
  kOpenFailed,     // the path cannot be opened or read (openError())
  kArchiveFailed,  // the archive, or the entry when input.entry is set, cannot be read
  kEnd,            // the path gives nothing more
};

class D88Inputs;

// For a walk that counts other software's D88 files: given a D88 entry's
// first bytes open in `disk` (kPassOverHeadSize, fewer in a shorter entry)
// and its recorded size, true when those alone show that it holds nothing
// the walk wants; it is then passed over, unread. May select images of disk.
using D88PassOver = bool (*)(D88File& disk, int64_t size);

// The first bytes of an entry a pass-over judge is given: an image header
// and, where a disk keeps it first, its first track's first sectors.
inline constexpr int32_t kPassOverHeadSize = 4096;

// The length of the D88 file open in `disk`: `size` when the input gave it
// (an entry, a stream), else the file's as it was opened, else the system's
// word for `path` (-1 when it has none).
int64_t inputLength(const D88File& disk, int64_t size, const char* path);

// Writes why the step kOpenFailed or kArchiveFailed of `inputs` could not
// give a D88 file, in English, into text[0..size), NUL-terminated: "the
// archive is damaged or cut short (...)", "it is encrypted; ...". For a
// missing library it names the kind, for the caller's own line.
void describeInputFailure(const D88Inputs& inputs, char* text, std::size_t size);

// Why "-" gives nothing when nobody piped a file into it.
inline constexpr char kTerminalInput[] = "standard input is a terminal; pipe a D88 file into it";

// Room for describeInputFailure's text.
inline constexpr std::size_t kInputFailureTextSize = 400;

class D88Inputs {
 public:
  // Starts on the command-line path (the string must outlive the walk).
  void start(const char* path);

  // From now on, an archive's D88 entries of recorded size go to `judge`
  // after their head (null: none; every D88 entry is then read whole). A
  // loose file costs its head only, and is judged by the caller.
  void setPassOver(D88PassOver judge) { passOver = judge; }

  // The next D88 file, or what stands in its way, into *input. With kD88 the
  // file is open in `disk` (its bytes held here until the next call); every
  // other step leaves disk closed. After kOpenFailed, and after a failure
  // past which the archive cannot be read on, the next step is kEnd.
  InputStep next(D88File& disk, D88Input* input);

  // The path's archive kind, kNone for a D88 file (known after the first step).
  ArchiveKind kind() const { return archiveKind; }
  // For kOpenFailed: the system's reason (EFBIG: a stream past
  // kMaxD88FileSize; ENOTTY: "-" where standard input is a terminal, refused
  // before anything is read).
  int openError() const { return error; }
  // For kArchiveFailed: why, and the library's words.
  ArchiveFailure failure() const { return failedKind; }
  const char* failureWords() const { return failedWords; }
  // For kNotD88: why the entry is no D88 file.
  const D88Verdict& verdict() const { return entryVerdict; }
  // The D88 files and the entries of any kind this path gave so far.
  int d88Count() const { return d88Files; }
  int entryCount() const { return entries; }
  // The archives this path gave so far: itself, and those inside it.
  int archiveCount() const { return archives; }

 private:
  enum class State { kStart, kEntries, kDone };
  InputStep openPath(D88File& disk, D88Input* input);
  InputStep fromHeldBytes(D88File& disk, D88Input* input);
  InputStep nextEntry(D88File& disk, D88Input* input);
  InputStep openFailed(int reason);
  InputStep archiveFailed(D88Input* input);
  InputStep openNested(ArchiveKind kind, D88Input* input);
  InputStep entryData(D88File& disk, D88Input* input);
  void nameEntry(const char* entryName, D88Input* input);
  void closeInnermost();

  static constexpr std::size_t kNameSize = 4096 + (kMaxNesting + 1) * 1024;
  const char* path = nullptr;
  State state = State::kDone;
  ArchiveKind archiveKind = ArchiveKind::kNone;
  int error = 0;
  int d88Files = 0;
  int entries = 0;
  int archives = 0;
  D88PassOver passOver = nullptr;
  D88Verdict entryVerdict;
  ArchiveFailure failedKind = ArchiveFailure::kNone;
  char failedWords[256] = {};
  // The archives open, the named one first: readers[depth - 1] gives the
  // next entry; names[i] is how readers[i]'s archive is named.
  ArchiveReader readers[kMaxNesting + 1];
  HeldBytes heldArchives[kMaxNesting + 1];  // a nested archive read whole (7z)
  int depth = 0;
  char names[kMaxNesting + 1][kNameSize] = {};
  ArchiveEntry entry;
  HeldBytes streamBytes;  // what a pipe sent
  HeldBytes entryBytes;   // the entry being read, one at a time
  char name[kNameSize] = {};
};

#endif  // D88CUT_INPUT_D88_INPUTS_H_
