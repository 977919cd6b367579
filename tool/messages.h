// Every text the tools print. The Japanese texts are Shift_JIS (code page
// 932) byte strings; scripts compare them byte for byte, so their lengths are
// pinned below.
#ifndef D88CUT_TOOL_MESSAGES_H_
#define D88CUT_TOOL_MESSAGES_H_

// Wrong number of arguments; %s is the program name.
inline constexpr char kUsage[] = "Usage: %s [d88file] (DiskNo.)\n";

// "Cannot open the file."
inline constexpr char kOpenFailure[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8B"  // fa i ru (katakana: file)
    "\x82\xF0"                          // wo
    "\x83\x49"                          // o (katakana)
    "\x81\x5B"                          // long-vowel mark
    "\x83\x76\x83\x93"                  // pu n (katakana: open)
    "\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1"  // dekimasen (cannot)
    ".\n";

// "Recognised the SYSTEM DISK."
inline constexpr char kSystemDisk[] =
    "SYSTEM DISK"
    "\x82\xF0\x94\x46\x8E\xAF\x82\xB5\x82\xDC\x82\xB5\x82\xBD"  // wo ninshiki shimashita
    ".\n";

// "Recognised SCENARIO DISK n."; %c is the scenario disk's digit.
inline constexpr char kScenarioDisk[] =
    "SCENARIO DISK %c "
    "\x82\xF0\x94\x46\x8E\xAF\x82\xB5\x82\xDC\x82\xB5\x82\xBD"  // wo ninshiki shimashita
    ".\n";

// Progress: a file is about to be written; %s is its name.
inline constexpr char kCutting[] = "cutting ... %s\n";

// A file's run stopped early: the file, the image it was cut from, the
// file's bytes found on the disk and its length, then where the run stopped
// (track, C, H, R) and, following, why. The file is still written at full
// length unless an earlier image of this run wrote it complete.
inline constexpr char kIncompleteRun[] =
    "d88cut: warning: %s (image %d) is incomplete: %d of its %d bytes were found on the disk; "
    "the run stops at track %d (C %d, H %d, R %d): ";
inline constexpr char kStopTrackAbsent[] = "the track is absent";
inline constexpr char kStopNoSuchSector[] = "no such sector on the track";
inline constexpr char kStopShortSector[] = "the sector holds only %d bytes";  // its data bytes
// The earlier image whose complete copy was left in place.
inline constexpr char kKeptEarlierCopy[] = "; the complete copy from image %d was kept";
inline constexpr char kLineEnd[] = "\n";

// A file could not be written: %s the file, %s the system's reason. A
// previous file of that name is left as it was.
inline constexpr char kWriteFailure[] = "d88cut: error: cannot write %s: %s\n";

// The D88 file cannot be opened: the path, the system's reason. Follows
// kOpenFailure.
inline constexpr char kOpenFailureReason[] = "d88cut: cannot open %s: %s\n";

// Not one image was recognised: the path, the images looked at.
inline constexpr char kNothingRecognised[] =
    "d88cut: note: %s holds no disk of the game (disk images looked at: %d)\n";

// Standard output could not be written: the system's reason.
inline constexpr char kOutputFailure[] = "d88cut: error: cannot write standard output: %s\n";

// --help: the usage line (kUsage) comes first.
inline constexpr char kHelp[] =
    "Looks at every disk image of a D88 file (the first 64) and recognises the\n"
    "game's system disk and its scenario disks 1 to 4. From the system disk it\n"
    "cuts LOADER, DRIVER and MUSIC, from scenario disk 4 MUSIC2, into the current\n"
    "directory. DiskNo. is accepted and has no effect.\n"
    "\n"
    "  -h, --help   show this text\n"
    "  --version    show the version\n";
// --version: the version.
inline constexpr char kVersion[] = "d88cut %s\n";

// A file's place does not fit the extraction buffer: %s the file.
inline constexpr char kOutsideBuffer[] =
    "d88cut: error: %s lies outside the extraction buffer; not written\n";

// d88info, in English.
inline constexpr char kInfoUsage[] = "usage: d88info [--sectors] [--json] FILE...\n";
inline constexpr char kInfoHelp[] =
    "usage: d88info [--sectors] [--json] FILE...\n"
    "Shows the disk images in D88 files as they are laid out, what is wrong with\n"
    "a damaged one, and what d88cut would make of each image.\n"
    "\n"
    "  --sectors  also list the records of every track, one track a line\n"
    "  --json     write one JSON document for all the files instead\n"
    "  -h, --help show this text\n"
    "  --version  show the version\n";
inline constexpr char kInfoVersion[] = "d88info %s\n";
inline constexpr char kInfoUnknownOption[] = "d88info: unknown option: %s\n";
inline constexpr char kInfoOpenFailure[] = "d88info: cannot open %s: %s\n";  // path, reason
inline constexpr char kInfoOutputFailure[] = "d88info: error: cannot write standard output: %s\n";
inline constexpr char kInfoFile[] = "file %s  size %lld\n";  // with several files
inline constexpr char kInfoNoImage[] = "no disk image in %s\n";
// index, offset, disk size, media byte, media kind, write protection, header
// length, listed tracks, name
inline constexpr char kInfoImage[] =
    "image %d  offset 0x%08X  size %lu  media 0x%02X (%s)  protect 0x%02X  header %d  "
    "tracks %d  name \"%s\"\n";
inline constexpr char kInfoUnreadableImage[] = "image %d  header cannot be read\n";
inline constexpr char kInfoSystemDisk[] = "  system disk\n";
inline constexpr char kInfoScenarioDisk[] = "  scenario disk %d\n";
inline constexpr char kInfoOther[] = "  not a disk of the game\n";
inline constexpr char kInfoFileFound[] = "    %s: %d of %d bytes found";  // name, found, length
inline constexpr char kInfoRunStop[] = "; the run stops at track %d (C %d, H %d, R %d): ";
inline constexpr char kInfoTrack[] = "  track %d  cylinder %d  head %d:";  // index, C, H
inline constexpr char kInfoSectorId[] = " %u/%u/%u/%u";                   // C/H/R/N
inline constexpr char kInfoSingle[] = "[single]";
inline constexpr char kInfoDensity[] = "[density 0x%02X]";
inline constexpr char kInfoDeleted[] = "[deleted]";
inline constexpr char kInfoStatus[] = "[status 0x%02X]";
inline constexpr char kInfoDataSize[] = "[size %d]";
inline constexpr char kInfoCount[] = "[count %d]";
inline constexpr char kInfoPastEnd[] = "[past end]";
inline constexpr char kInfoLineEnd[] = "\n";
inline constexpr char kInfoImageNote[] = "  note: %s [%s]\n";  // text, kind
inline constexpr char kInfoFileNote[] = "note: %s [%s]\n";

// Notes, by kind. Track lists ("track 3", "tracks 4-6, 9") come first where
// a note is about tracks.
inline constexpr char kNoteTruncated[] = "image cut short: %lld of its %lu bytes are in the file";
inline constexpr char kNotePartialHeader[] =
    "a partial image header of %lld bytes at the end of the file (offset 0x%08llX)";
inline constexpr char kNoteTrailingBytes[] =
    "%lld bytes after the last image (offset 0x%08llX)";
inline constexpr char kNoteMoreImages[] =
    "images past the 64 that d88cut looks at: %d";
inline constexpr char kNoteRepeatedImage[] =
    "d88cut looks at this image %d times (images %d to %d start at this offset)";
inline constexpr char kNoteShortHeader[] =
    "short header: %d bytes, a track table of %d entries";
inline constexpr char kNoteSizeBelowHeader[] = "disk size %lu is smaller than the header (%d)";
inline constexpr char kNoteEntryInHeader[] = "%s: the track-table entry points inside the header";
inline constexpr char kNoteEntryPastSize[] = "%s: the track-table entry is above the disk size";
inline constexpr char kNoteEntryPastFile[] =
    "%s: the first record header is not whole inside the image's bytes";
inline constexpr char kNoteBlankTrack[] = "%s: blank (the first record header has count 0)";
inline constexpr char kNoteCountMismatch[] =
    "%s: the records found differ from the count the first header declares";
inline constexpr char kNoteSizeMismatch[] = "%s: a record's data size differs from 128 << N";
inline constexpr char kNotePastImageEnd[] = "%s: a record's data runs past the image's bytes";
inline constexpr char kNoteDuplicateId[] = "%s: two records carry one sector ID";

static_assert(sizeof kOpenFailure - 1 == 30, "open-failure text is 30 bytes");
static_assert(sizeof kSystemDisk - 1 == 27, "system-disk text is 27 bytes");
static_assert(sizeof kScenarioDisk - 1 == 33, "scenario format is 33 bytes");

#endif  // D88CUT_TOOL_MESSAGES_H_
