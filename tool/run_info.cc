#include "tool/run_info.h"

#include <cstring>

#include "tool/console.h"
#include "tool/cut_file.h"
#include "tool/file_table.h"
#include "tool/messages.h"
#include "tool/recognition.h"

namespace {

uint8_t infoBuffer[kExtractionBufferSize];
// A track's listing stops after at most 65,535 records, or when this is full.
uint8_t sectorIds[4 * 65536];

struct Options {
  bool help = false;
  bool sectors = false;
  const char* path = nullptr;
};

// False (after a message on err) when the command line is wrong.
bool parseOptions(int argc, const char* const* argv, std::FILE* err, Options* options) {
  bool optionsEnded = false;
  int paths = 0;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (!optionsEnded && std::strcmp(arg, "--") == 0) {
      optionsEnded = true;
    } else if (!optionsEnded && std::strcmp(arg, "--help") == 0) {
      options->help = true;
    } else if (!optionsEnded && std::strcmp(arg, "--sectors") == 0) {
      options->sectors = true;
    } else if (!optionsEnded && arg[0] == '-' && arg[1] != '\0') {
      printMessage(err, kInfoUnknownOption, arg);
      writeMessage(err, kInfoUsage);
      return false;
    } else {
      options->path = arg;
      ++paths;
    }
  }
  if (options->help) return true;
  if (paths != 1) {
    writeMessage(err, kInfoUsage);
    return false;
  }
  return true;
}

int32_t usableTracks(const D88File& disk) {
  int32_t tracks = 0;
  for (int32_t t = 0; t < kTrackCount; ++t) tracks += disk.isTrackUsable(t) ? 1 : 0;
  return tracks;
}

void printFileCounts(D88File& disk, std::FILE* out, const FileEntry& entry) {
  const int32_t found = readFileRun(disk, infoBuffer, entry);
  printMessage(out, kInfoFileFound, entry.name, static_cast<int>(found),
               static_cast<int>(runLength(entry)));
}

// The second line of an image's block: what d88cut would make of it.
void printRecognition(D88File& disk, std::FILE* out, const DiskRecognition& what) {
  if (what.kind == DiskRecognition::kSystemDisk) {
    writeMessage(out, kInfoSystemDisk);
    for (const FileEntry* entry = systemDiskFiles; entry->sector != 0; ++entry) {
      if (entry != systemDiskFiles) writeMessage(out, kInfoFileSeparator);
      printFileCounts(disk, out, *entry);
    }
    writeMessage(out, kInfoBytesFound);
  } else if (what.kind == DiskRecognition::kScenarioDisk) {
    printMessage(out, kInfoScenarioDisk, static_cast<int>(what.scenario));
    if (what.scenario == 4) {
      writeMessage(out, kInfoScenarioFiles);
      printFileCounts(disk, out, scenarioDisk4File);
      writeMessage(out, kInfoBytesFound);
    } else {
      writeMessage(out, kInfoLineEnd);
    }
  } else {
    writeMessage(out, kInfoOther);
  }
}

void printSectors(D88File& disk, std::FILE* out) {
  for (int32_t t = 0; t < kTrackCount; ++t) {
    if (!disk.isTrackUsable(t)) continue;
    printMessage(out, kInfoTrack, static_cast<int>(t), static_cast<int>(t >> 1),
                 static_cast<int>(t & 1));
    const int32_t bytes = disk.listSectorIds(t, sectorIds, static_cast<int32_t>(sizeof sectorIds));
    for (int32_t i = 0; i + 4 <= bytes; i += 4) {
      printMessage(out, kInfoSectorId, sectorIds[i], sectorIds[i + 1], sectorIds[i + 2],
                   sectorIds[i + 3]);
    }
    writeMessage(out, kInfoLineEnd);
  }
}

void printImage(D88File& disk, std::FILE* out, int32_t index, bool sectors) {
  const DiskRecognition what = examineImage(disk, index, infoBuffer);
  if (disk.selectedImage() != index) {
    printMessage(out, kInfoUnreadableImage, static_cast<int>(index));
    return;
  }
  char name[4 * kDiskNameLength + 1];
  escapeDiskName(disk.diskName(), name);
  char scratch[256];
  printMessage(out, kInfoImage, static_cast<int>(index),
               static_cast<unsigned>(disk.selectedImageOffset()),
               static_cast<int>(disk.selectedDiskSize()), static_cast<unsigned>(disk.mediaType()),
               mediaKind(disk.mediaType()), static_cast<int>(usableTracks(disk)),
               textForStream(out, name, scratch, sizeof scratch));
  printRecognition(disk, out, what);
  if (sectors) printSectors(disk, out);
}

}  // namespace

void escapeDiskName(const char* name, char* text) {
  static const char kHex[] = "0123456789ABCDEF";
  for (; *name != '\0'; ++name) {
    const auto byte = static_cast<unsigned char>(*name);
    if (byte < 0x20 || byte == 0x7F) {
      *text++ = '\\';
      *text++ = 'x';
      *text++ = kHex[byte >> 4];
      *text++ = kHex[byte & 0xF];
    } else {
      *text++ = static_cast<char>(byte);
    }
  }
  *text = '\0';
}

const char* mediaKind(int32_t media) {
  switch (media) {
    case 0x00: return "2D";
    case 0x10: return "2DD";
    case 0x20: return "2HD";
    case 0x30: return "1D";
    case 0x40: return "1DD";
    default: return "unknown";
  }
}

int runInfo(D88File& disk, int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  Options options;
  if (!parseOptions(argc, argv, err, &options)) return 1;
  if (options.help) {
    writeMessage(out, kInfoHelp);
    return 0;
  }
  if (!disk.open(options.path)) {
    printMessage(err, kInfoOpenFailure, options.path);
    return 1;
  }
  if (disk.imageCount() == 0) printMessage(out, kInfoNoImage, options.path);
  for (int32_t i = 0; i < disk.imageCount(); ++i) printImage(disk, out, i, options.sectors);
  return 0;
}
