// SPDX-License-Identifier: MIT
// Every text d88cut prints. The Japanese texts are Shift_JIS (code page
// 932) byte strings; scripts compare them byte for byte, so their lengths are
// pinned below.
#ifndef D88CUT_TOOL_MESSAGES_H_
#define D88CUT_TOOL_MESSAGES_H_

// Wrong number of arguments; %s is the program name.
inline constexpr char kUsage[] = "Usage: %s [d88file] (DiskNo.)\n";

// "Cannot open the file."
inline constexpr char kOpenFailure[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8B"          // fa i ru (katakana: file)
    "\x82\xF0"                                  // wo
    "\x83\x49"                                  // o (katakana)
    "\x81\x5B"                                  // long-vowel mark
    "\x83\x76\x83\x93"                          // pu n (katakana: open)
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
// file's bytes found on the disk and its length, then where and why the run
// stopped (describeRunStop). The file is written at full length only where
// no file of its name is there (then kKeptEarlierCopy or kKeptExistingFile
// follows).
inline constexpr char kIncompleteRun[] =
    "d88cut: warning: %s (image %d) is incomplete: %d of its %d bytes were found on the disk; "
    "%s";
// The same with several D88 files in the run: the file, the D88 file's path,
// the image, then as above.
inline constexpr char kIncompleteRunOfFile[] =
    "d88cut: warning: %s (%s, image %d) is incomplete: %d of its %d bytes were found on the "
    "disk; %s";
// Follows either: how many of the run's sectors are missing or damaged,
// and of how many ("; 1 of its 16 sectors is missing or damaged").
inline constexpr char kSectorsBad[] = "; %d of its %d sectors %s missing or damaged";
// The earlier image whose complete copy was left in place; with several D88
// files, the D88 file's path and the image.
inline constexpr char kKeptEarlierCopy[] = "; the complete copy from image %d was kept";
inline constexpr char kKeptEarlierCopyOfFile[] = "; the complete copy from %s, image %d was kept";
// An existing file of the name, from before the run, was left in place.
inline constexpr char kKeptExistingFile[] = "; the file already in the folder was kept";
inline constexpr char kLineEnd[] = "\n";

// Sectors of a file's run were recorded with an error status in the dump:
// the file, (the D88 file's path,) the image, then which (describeRunDamage).
// The file holds the bytes the dump recorded. Followed by where a copy was
// kept, as above, when the file was not written.
inline constexpr char kDamagedRun[] = "d88cut: warning: %s (image %d) is damaged: %s";
inline constexpr char kDamagedRunOfFile[] = "d88cut: warning: %s (%s, image %d) is damaged: %s";

// A read of the D88 file failed: its path, the system's reason. Nothing more
// is read from it; what it would have given is not written.
inline constexpr char kReadFailure[] = "d88cut: cannot read %s: %s\n";

// An archive (or compressed file) given where libarchive is missing: the
// path, then its kind ("zip archive").
inline constexpr char kNoArchiveLibrary[] =
    "d88cut: error: %s is a %s: install libarchive13, or unpack it\n";
// An archive, its entry ("ARCHIVE:ENTRY") or what a pipe sent cannot be
// read: the name, then why (describeInputFailure). Nothing it would have
// given is written.
inline constexpr char kArchiveUnreadable[] = "d88cut: error: cannot read %s: %s\n";
// An input refused before it is read ("-" on a terminal): why.
inline constexpr char kInputRefused[] = "d88cut: error: %s\n";
// An archive with no D88 file among its entries: the path, the entries.
inline constexpr char kNoD88InArchive[] = "d88cut: note: %s holds no D88 file (files in it: %d)\n";

// A folder named, or found in a walk, that cannot be listed: its path, the
// system's reason. The walk goes on.
inline constexpr char kFolderUnreadable[] = "d88cut: error: cannot read the folder %s: %s\n";
// A folder deeper than the walk goes: its path, the depth.
inline constexpr char kFolderTooDeep[] =
    "d88cut: note: %s lies more than %d folders deep; it was not looked into\n";
// After a run that walked a folder: the files found, the D88 files among
// them and in their archives, the archives, and the D88 files that hold a
// disk of the game.
inline constexpr char kLookedAt[] =
    "d88cut: note: looked at %d %s: %d %s, %d %s; the game's disks in %d of them\n";
// The chain of images goes on past the 64 looked at: the path.
inline constexpr char kMoreImages[] =
    "d88cut: note: %s holds more disk images than the 64 looked at\n";

// A file could not be written: %s the file, %s the system's reason. A
// previous file of that name is left as it was.
inline constexpr char kWriteFailure[] = "d88cut: error: cannot write %s: %s\n";

// A file would be written over one of the run's D88 files (the same file,
// whatever its name): the path. It is not written.
inline constexpr char kReplacesInput[] =
    "d88cut: error: %s would replace the D88 file being read; use -d DIR\n";

// The D88 file cannot be opened: the path, the system's reason. Follows
// kOpenFailure.
inline constexpr char kOpenFailureReason[] = "d88cut: cannot open %s: %s\n";

// Heads each D88 file's messages when the run has several: its path. A blank
// line parts the blocks.
inline constexpr char kFileHeading[] = "%s:\n";
inline constexpr char kFileHeadingAfter[] = "\n%s:\n";

// Not one image was recognised: the path, the images looked at.
inline constexpr char kNothingRecognised[] =
    "d88cut: note: %s holds no disk of the game (disk images looked at: %d)\n";
// Instead of kNothingRecognised when the file is no D88 file at all: the
// path, then why (describeNotD88).
inline constexpr char kNotD88[] = "d88cut: note: %s is not a D88 file: %s\n";

// An image with disk id 0 whose file ends before the signature's track: the
// D88 file's path, the image. Nothing is cut from it: it cannot be confirmed.
inline constexpr char kCutShortSystemDisk[] =
    "d88cut: warning: %s (image %d) is probably the system disk, cut short before its signature "
    "(track 79); nothing was cut from it\n";
// Follows kNothingRecognised or kNotD88: where to see why, the path quoted
// for the shell.
inline constexpr char kSeeWhy[] = "d88cut: note: d88info %s says why\n";

// Standard output could not be written: the system's reason.
inline constexpr char kOutputFailure[] = "d88cut: error: cannot write standard output: %s\n";

// --help: the usage line (kUsage) comes first; %s is the program name.
inline constexpr char kHelp[] =
    "       %s [options] d88file...\n"
    "Looks at every disk image of each D88 file named (the first 64 of each) and\n"
    "recognises the game's system disk and its scenario disks 1 to 4. From the\n"
    "system disk it cuts LOADER, DRIVER and MUSIC, from scenario disk 4 MUSIC2,\n"
    "into the current directory. A disk set kept as one D88 file per disk is\n"
    "named file by file (d88cut *.d88). DiskNo., digits after a single d88file,\n"
    "is accepted and has no effect. A file that is incomplete or damaged never\n"
    "replaces a file of its name; several copies of a disk are assembled sector\n"
    "by sector into one whole file. A d88file may be a zip, 7z, LZH, RAR or tar\n"
    "archive (its D88 files are read in its order, archives in it too) or a D88\n"
    "file compressed with gzip, xz or bzip2; a folder (every file below it is\n"
    "looked at, and only those that hold the game's disks are named); - reads\n"
    "standard input.\n"
    "\n"
    "  -d, --output-dir DIR  write the files into DIR (made when missing)\n"
    "  -n, --dry-run         say what would be written; write nothing\n"
    "  -l, --list            list every copy of the five disks, its release, and\n"
    "                        what would be cut from it; cut nothing\n"
    "  --json                with -l: the list as one JSON document\n"
    "  -h, --help            show this text\n"
    "  --version             show the version\n"
    "  --                    end the options: a D88 file named -x.d88 follows\n";

// A word that is no option: the program's name, then the word. The usage
// line and kTryHelp follow.
inline constexpr char kUnknownOption[] = "%s: unknown option: %s\n";
// -d or --output-dir as the last word: the program's name, then the word.
inline constexpr char kOptionNeedsFolder[] = "%s: %s needs a folder\n";
// How to get help: the program's name.
inline constexpr char kTryHelp[] = "Try '%s --help' for more.\n";

// The output folder cannot take the files: the folder, the system's reason.
// Nothing was read or written.
inline constexpr char kOutputFolderFailure[] = "d88cut: cannot write into %s: %s\n";

// A dry run, instead of kCutting: the path a file would be written to, or
// the path of the file that would stay, then how whole the cut is.
inline constexpr char kDryRunWrite[] = "would write %s (%s)\n";
inline constexpr char kDryRunKeep[] = "would keep %s (the cut is %s)\n";
inline constexpr char kDryRunComplete[] = "complete";
inline constexpr char kDryRunIncomplete[] = "incomplete";
inline constexpr char kDryRunDamaged[] = "damaged";
inline constexpr char kDryRunIncompleteAndDamaged[] = "incomplete and damaged";

// Heads a later copy's flaw, then the flaw's words as its warning has them
// (kIncompleteRun, kDamagedRun and their forms with the path, after their
// "d88cut: warning: "), then kLaterCopyFate: that copy's file is not the
// one written.
inline constexpr char kLaterCopyNote[] = "d88cut: note: ";
inline constexpr char kLaterCopyFate[] =
    "; this copy is assembled with the others of its disk after the last file\n";
// Several copies of a disk: how a file was assembled. The file, the copies
// of its group; then, for each copy that gave sectors, kAssembledPart (a
// separator, the count, "sector" or "sectors", the copy's path and image);
// then, for each copy that lacked some, kAssembledLacked (its path and
// image, the count, the word, the first one's track, C, H and R); then a
// line end.
inline constexpr char kAssembledFrom[] = "d88cut: note: %s was assembled from %d copies:";
inline constexpr char kAssembledPart[] = "%s%d %s from %s (image %d)";
inline constexpr char kAssembledLacked[] =
    "; %s (image %d) lacked %d %s, the first at track %d (C %d, H %d, R %d)";
// A later whole group replaces the file that a flawed first cut kept in the
// folder: the file.
inline constexpr char kKeptReplaced[] =
    "d88cut: note: %s, kept above, is replaced: the copies give it whole\n";
// Memory for another copy could not be had: its path and image.
inline constexpr char kCopyNotAssembled[] =
    "d88cut: warning: %s (image %d) was not assembled with the other copies: out of memory\n";
// Copies of a disk that differ in a sector good in both: the disk ("system
// disk"), the sector's track, C, H and R, the earlier copy's path and image,
// then kCopiesDifferLater with the later one's. They are assembled apart.
inline constexpr char kCopiesDiffer[] =
    "d88cut: note: the copies of the %s differ at track %d (C %d, H %d, R %d): %s (image %d)";
inline constexpr char kCopiesDifferLater[] = " and %s (image %d) were not mixed\n";
// No group of copies gives the file whole: the file, the copies, the first
// sector missing or damaged in every copy of the first group.
inline constexpr char kWholeInNoCopy[] =
    "d88cut: warning: %s is whole in none of its %d copies: track %d (C %d, H %d, R %d) is "
    "missing or damaged in each\n";
// A dry run's state of an assembled file: "complete" or "incomplete", then
// the copies.
inline constexpr char kDryRunAssembled[] = "%s, assembled from %d copies";

// The closing word of a run of several D88 files, or with options, that
// did not leave all four files complete: one line per file.
// Never cut: the file, then the disk it comes from.
inline constexpr char kNoteNotCut[] = "d88cut: note: %s was not cut: no %s among the files\n";
// Its disk was found only cut short: the file.
inline constexpr char kNoteOnlyCutShort[] =
    "d88cut: note: %s was not cut: the system disk found is cut short\n";
// Its disk was not found, and an input could not be read: the file, the input.
inline constexpr char kNoteNotCutUnread[] = "d88cut: note: %s was not cut: %s could not be read\n";
// Its disk was found, but a read failed before the file was reached.
inline constexpr char kNoteNotReached[] =
    "d88cut: note: %s was not cut: a D88 file could not be read\n";
// After the closing word, for a disk ("system disk") whose file the run left
// incomplete or damaged.
inline constexpr char kAnotherCopyHelps[] =
    "d88cut: note: another copy of the %s, named in the same run, would be assembled with it "
    "sector by sector\n";
// Files made whole from several copies: how many.
inline constexpr char kNoteAssembled[] = "d88cut: note: files assembled from several copies: %d\n";
// Cut, but not complete: the file, then why.
inline constexpr char kNoteNotComplete[] = "d88cut: note: %s is not complete: %s\n";
inline constexpr char kWhyIncomplete[] = "sectors of it are missing";
inline constexpr char kWhyDamaged[] = "sectors of it are damaged";
inline constexpr char kWhyKept[] = "an existing copy was kept";
inline constexpr char kWhyNotWritten[] = "it could not be written";
inline constexpr char kWhyReadFailed[] = "a D88 file could not be read";
// A cut's status named for the page and scripts (cutStatusText).
inline constexpr char kStateComplete[] = "complete";
inline constexpr char kStateIncomplete[] = "incomplete";
inline constexpr char kStateDamaged[] = "damaged";
inline constexpr char kStateKept[] = "kept";
inline constexpr char kStateNotWritten[] = "not written";
inline constexpr char kStateReadFailed[] = "read failed";
inline constexpr char kSystemDiskName[] = "system disk";
inline constexpr char kScenarioDisk4Name[] = "scenario disk 4";

// -l: each disk's heading (the disk, the copies and the word "copy" or
// "copies", then the releases and "release" or "releases"), or that none
// was found; a disk without files: its name and copies.
inline constexpr char kListDisk[] = "%s: %d %s, %d %s\n";
inline constexpr char kListPlainDisk[] = "%s: %d %s\n";
inline constexpr char kListNone[] = "%s: none found\n";
// A copy: its path (a chain for a nested entry), image, and kListCutShort
// or nothing; then the release's fingerprint; then each file whole or where
// it fails (after "; " or ", "); then the files cut from it.
inline constexpr char kListCopy[] = "  %s (image %d)%s\n";
inline constexpr char kListCutShort[] = ", cut short";
inline constexpr char kListRelease[] = "    release %.16s";
inline constexpr char kListFileWhole[] = "%s%s whole";
inline constexpr char kListFileFails[] = "%s%s fails at track %d (C %d, H %d, R %d)";
inline constexpr char kListCutFrom[] = "; cut from it: ";
// After the list, when an input could not be read: the first one (run
// without -l to see each and why).
inline constexpr char kListUnread[] =
    "d88cut: error: %s could not be read (d88cut without -l says why)\n";
// --json without -l: the program's name.
inline constexpr char kJsonNeedsList[] = "%s: --json goes with -l\n";

// A window of its own (files dropped on d88cut.exe): where the files went,
// as a full path.
inline constexpr char kFilesAreIn[] = "The files are in %s\n";

// Windows: the run's own console window (files dropped on d88cut.exe) waits
// for Enter before it closes.
inline constexpr char kPressEnter[] = "Press Enter to close this window.";

// --version: the version.
inline constexpr char kVersion[] = "d88cut %s\n";

static_assert(sizeof kOpenFailure - 1 == 30, "open-failure text is 30 bytes");
static_assert(sizeof kSystemDisk - 1 == 27, "system-disk text is 27 bytes");
static_assert(sizeof kScenarioDisk - 1 == 33, "scenario format is 33 bytes");

#endif  // D88CUT_TOOL_MESSAGES_H_
