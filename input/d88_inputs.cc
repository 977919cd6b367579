// SPDX-License-Identifier: MIT
#include "input/d88_inputs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_length.h"

namespace {

// True when head[0..available) is shaped like a first image header: a disk
// size no larger than any image's, and a first track entry inside it (or
// none). An archive's signature can start a disk name; it cannot also
// give these.
bool looksLikeImageHeader(const uint8_t* head, int32_t available) {
  if (available < kTrackTableOffset + kTrackEntrySize) return false;
  const int64_t diskSize = loadLeSigned32(head + kDiskSizeOffset);
  const int64_t firstTrack = loadLeSigned32(head + kTrackTableOffset);
  return diskSize >= kImageHeaderSize && diskSize <= kMaxImageSize && firstTrack >= 0 &&
         firstTrack <= diskSize;
}

// Writes `first`, then `second` after a colon when given, into
// out[0..size), NUL-terminated; a name that does not fit is cut.
void joinName(char* out, std::size_t size, const char* first, const char* second) {
  std::size_t used = 0;
  const char* parts[] = {first, second != nullptr ? ":" : "", second != nullptr ? second : ""};
  for (const char* part : parts) {
    const std::size_t length = std::strlen(part);
    const std::size_t take = length < size - 1 - used ? length : size - 1 - used;
    std::memcpy(out + used, part, take);
    used += take;
  }
  out[used] = '\0';
}

// The archive kind that head[0..available) names, or kNone for a D88 file.
ArchiveKind archiveKindOfHead(const uint8_t* head, int32_t available) {
  const ArchiveKind kind = archiveKindOf(head, available);
  return looksLikeImageHeader(head, available) ? ArchiveKind::kNone : kind;
}

}  // namespace

void D88Inputs::start(const char* commandLinePath) {
  while (depth > 0) closeInnermost();
  path = commandLinePath;
  state = State::kStart;
  archiveKind = ArchiveKind::kNone;
  error = 0;
  d88Files = 0;
  entries = 0;
  archives = 0;
  failedKind = ArchiveFailure::kNone;
  failedWords[0] = '\0';
}

void D88Inputs::closeInnermost() {
  --depth;
  readers[depth].close();
  heldArchives[depth].release();
}

InputStep D88Inputs::next(D88File& disk, D88Input* input) {
  disk.close();
  entryBytes.clear();
  *input = D88Input{};
  input->name = path;
  switch (state) {
    case State::kStart:
      return openPath(disk, input);
    case State::kEntries:
      return nextEntry(disk, input);
    case State::kDone:
      break;
  }
  while (depth > 0) closeInnermost();
  streamBytes.release();
  entryBytes.release();
  return InputStep::kEnd;
}

InputStep D88Inputs::openFailed(int reason) {
  error = reason;
  state = State::kDone;
  return InputStep::kOpenFailed;
}

// The innermost archive failed: its words kept, and it is closed when no
// entry can follow (the one outside it reads on).
InputStep D88Inputs::archiveFailed(D88Input* input) {
  ArchiveReader& reader = readers[depth - 1];
  failedKind = reader.failureKind();
  std::snprintf(failedWords, sizeof failedWords, "%s", reader.failure());
  if (input->name == path && depth > 1) input->name = names[depth - 1];
  if (reader.ended()) closeInnermost();
  if (depth == 0) state = State::kDone;
  return InputStep::kArchiveFailed;
}

InputStep D88Inputs::openPath(D88File& disk, D88Input* input) {
  state = State::kDone;
  streamBytes.clear();
  if (std::strcmp(path, "-") == 0) {
    if (standardInputIsTerminal()) return openFailed(ENOTTY);
    const int reason = readStandardInput(kMaxD88FileSize, &streamBytes);
    return reason != 0 ? openFailed(reason) : fromHeldBytes(disk, input);
  }
  if (!disk.open(path)) {
    const int reason = errno;
    std::FILE* stream = disk.takeUnseekable();
    if (stream == nullptr) return openFailed(reason);
    const int readReason = readWholeStream(stream, kMaxD88FileSize, &streamBytes);
    std::fclose(stream);
    return readReason != 0 ? openFailed(readReason) : fromHeldBytes(disk, input);
  }
  const uint8_t* head = nullptr;
  const int32_t available = disk.fileHead(&head);
  archiveKind = archiveKindOfHead(head, available);
  if (archiveKind == ArchiveKind::kNone || disk.readError() != 0) {
    ++d88Files;
    return InputStep::kD88;  // the designed way: read where it lies
  }
  disk.close();
  state = State::kEntries;
  ++archives;
  joinName(names[0], kNameSize, path, nullptr);
  depth = 1;
  if (!readers[0].open(path, archiveKind)) return archiveFailed(input);
  return nextEntry(disk, input);
}

InputStep D88Inputs::fromHeldBytes(D88File& disk, D88Input* input) {
  const int32_t available = streamBytes.size() < kImageHeaderSize
                                ? static_cast<int32_t>(streamBytes.size())
                                : kImageHeaderSize;
  archiveKind = archiveKindOfHead(streamBytes.data(), available);
  if (archiveKind == ArchiveKind::kNone) {
    disk.openBytes(streamBytes.data(), streamBytes.size());
    input->size = streamBytes.size();
    ++d88Files;
    return InputStep::kD88;
  }
  state = State::kEntries;
  ++archives;
  joinName(names[0], kNameSize, path, nullptr);
  depth = 1;
  if (!readers[0].openBytes(streamBytes.data(), streamBytes.size(), archiveKind)) {
    return archiveFailed(input);
  }
  return nextEntry(disk, input);
}

void D88Inputs::nameEntry(const char* entryName, D88Input* input) {
  const char* archiveName = names[depth - 1];
  input->archive = archiveName;
  input->name = archiveName;
  if (readers[depth - 1].wholeFile()) return;  // its one entry is the file itself
  joinName(name, sizeof name, archiveName, entryName);
  input->name = name;
  input->entry = entryName;
}

// The entry whose head is in entryBytes is an archive: opened inside its
// outer one, streamed, or held whole where the library must seek in it.
InputStep D88Inputs::openNested(ArchiveKind kind, D88Input* input) {
  ArchiveReader& outer = readers[depth - 1];
  joinName(names[depth], kNameSize, input->name, nullptr);
  ArchiveReader& inner = readers[depth];
  HeldBytes& held = heldArchives[depth];
  ++depth;
  ++archives;
  bool opened = false;
  if (kind == ArchiveKind::kSevenZip) {
    // Within the size of the largest D88 file: the reader must seek in it.
    held.clear();
    if (!held.reserve(entryBytes.size())) return InputStep::kEnd;
    std::memcpy(held.end(), entryBytes.data(), static_cast<std::size_t>(entryBytes.size()));
    held.grow(entryBytes.size());
    if (!outer.readRest(entry, kMaxD88FileSize, &held)) {
      closeInnermost();  // the outer archive's own failure
      return archiveFailed(input);
    }
    opened = inner.openBytes(held.data(), held.size(), kind);
  } else {
    opened = inner.openNested(&outer, entryBytes.data(), entryBytes.size(), kind);
  }
  input->name = names[depth - 1];
  return opened ? InputStep::kEnd : archiveFailed(input);
}

InputStep D88Inputs::nextEntry(D88File& disk, D88Input* input) {
  while (depth > 0) {
    ArchiveReader& reader = readers[depth - 1];
    if (!reader.next(&entry)) {
      if (reader.failureKind() != ArchiveFailure::kNone) return archiveFailed(input);
      closeInnermost();
      continue;
    }
    if (!entry.regularFile) continue;  // folders and links hold no disk
    ++entries;
    nameEntry(entry.name, input);
    const int32_t headSize = passOver != nullptr ? kPassOverHeadSize : kImageHeaderSize;
    if (!reader.readHead(entry, headSize, &entryBytes)) return archiveFailed(input);
    const int32_t available = static_cast<int32_t>(entryBytes.size());
    const ArchiveKind nested = archiveKindOfHead(entryBytes.data(), available);
    if (nested != ArchiveKind::kNone && depth <= kMaxNesting) {
      const InputStep step = openNested(nested, input);
      if (step != InputStep::kEnd) return step;
      continue;
    }
    return entryData(disk, input);
  }
  state = State::kDone;
  return InputStep::kEnd;
}

// The entry whose head is in entryBytes: no D88 file, or one the pass-over
// judge lets go (both passed over after the head where the size is
// recorded), or read whole.
InputStep D88Inputs::entryData(D88File& disk, D88Input* input) {
  ArchiveReader& reader = readers[depth - 1];
  // A D88 file is judged by its first header's bytes, however many were read.
  const int32_t available = entryBytes.size() < kImageHeaderSize
                                ? static_cast<int32_t>(entryBytes.size())
                                : kImageHeaderSize;
  if (entry.size >= 0) {
    entryVerdict = judgeD88File(entryBytes.data(), available, entry.size);
    input->size = entry.size;
    if (entryVerdict.kind != D88Verdict::kD88) {
      disk.openBytes(entryBytes.data(), entryBytes.size());
      return InputStep::kNotD88;
    }
    if (passOver != nullptr && disk.openBytes(entryBytes.data(), entryBytes.size()) &&
        passOver(disk, entry.size)) {
      disk.close();
      ++d88Files;
      return InputStep::kD88PassedOver;
    }
    disk.close();
  }
  if (!reader.readRest(entry, kMaxD88FileSize, &entryBytes)) return archiveFailed(input);
  input->size = entryBytes.size();
  const int32_t head =
      input->size < kImageHeaderSize ? static_cast<int32_t>(input->size) : kImageHeaderSize;
  entryVerdict = judgeD88File(entryBytes.data(), head, input->size);
  disk.openBytes(entryBytes.data(), entryBytes.size());
  if (entryVerdict.kind != D88Verdict::kD88) return InputStep::kNotD88;
  ++d88Files;
  return InputStep::kD88;
}

int64_t inputLength(const D88File& disk, int64_t size, const char* path) {
  if (size >= 0) return size;
  return disk.openedLength() >= 0 ? disk.openedLength() : fileLength(path);
}

void describeInputFailure(const D88Inputs& inputs, char* text, std::size_t size) {
  const bool tooLarge = inputs.openError() == EFBIG;
  const ArchiveFailure failure = tooLarge ? ArchiveFailure::kTooLarge : inputs.failure();
  const char* words = inputs.failureWords();
  switch (failure) {
    case ArchiveFailure::kNone:
      std::snprintf(
          text, size, "%s",
          inputs.openError() == ENOTTY ? kTerminalInput : std::strerror(inputs.openError()));
      break;
    case ArchiveFailure::kNoLibrary:
      std::snprintf(text, size, "it is a %s: install libarchive13, or unpack it",
                    archiveKindName(inputs.kind()));
      break;
    case ArchiveFailure::kDamaged:
      std::snprintf(text, size, "the archive is damaged or cut short (%s)",
                    *words != '\0' ? words : "no reason given");
      break;
    case ArchiveFailure::kUnsupported:
      std::snprintf(text, size, "it is packed in a way that cannot be read (%s); unpack it", words);
      break;
    case ArchiveFailure::kTooManyLayers:
      std::snprintf(text, size,
                    "it is compressed inside itself too many times over (%s); unpack it", words);
      break;
    case ArchiveFailure::kNeedsProgram:
      std::snprintf(text, size, "it would need an outside program, and none is run (%s); unpack it",
                    words);
      break;
    case ArchiveFailure::kEncrypted:
      std::snprintf(text, size, "it is encrypted, and no password is asked for; unpack it");
      break;
    case ArchiveFailure::kTooLarge:
      std::snprintf(text, size,
                    "it is larger than any D88 file can be (%lld bytes); it was not read",
                    static_cast<long long>(kMaxD88FileSize));
      break;
    case ArchiveFailure::kNoMemory:
      std::snprintf(text, size, "%s", std::strerror(ENOMEM));
      break;
  }
}
