#include "tool/run_tool.h"

#include "tool/console.h"
#include "tool/cut_file.h"
#include "tool/file_table.h"
#include "tool/messages.h"
#include "tool/recognition.h"

namespace {

uint8_t extractionBuffer[kExtractionBufferSize];

// Announces the image's disk and cuts its files; false if a file was
// incomplete or not written.
bool handleImage(const Extraction& x, const DiskRecognition& disk) {
  bool whole = true;
  if (disk.kind == DiskRecognition::kSystemDisk) {
    writeMessage(x.out, kSystemDisk);
    for (const FileEntry* entry = systemDiskFiles; entry->sector != 0; ++entry) {
      whole = cutFileEntry(x, *entry) == CutStatus::kComplete && whole;
    }
  } else if (disk.kind == DiskRecognition::kScenarioDisk) {
    printMessage(x.out, kScenarioDisk, static_cast<char>('0' + disk.scenario));
    if (disk.scenario == 4) whole = cutFileEntry(x, scenarioDisk4File) == CutStatus::kComplete;
  }
  return whole;
}

}  // namespace

int runTool(D88File& disk, int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  if (argc != 2 && argc != 3) {
    const char* program = argc > 0 && argv[0] != nullptr ? argv[0] : "d88cut";
    printMessage(err, kUsage, program);
    return kExitFailure;
  }
  if (!disk.open(argv[1])) {
    writeMessage(err, kOpenFailure);
    return kExitFailure;
  }
  const Extraction x = {disk, extractionBuffer, out, err};
  bool whole = true;
  const int32_t images = disk.imageCount();
  for (int32_t i = 0; i < images; ++i) {
    whole = handleImage(x, examineImage(disk, i, extractionBuffer)) && whole;
  }
  return whole ? kExitSuccess : kExitFailure;
}
