// SPDX-License-Identifier: MIT
// Every text d88info prints, in English. Why a run stopped is the game's text
// (describeRunStop), the same that d88cut prints.
#ifndef D88CUT_INFO_MESSAGES_H_
#define D88CUT_INFO_MESSAGES_H_

inline constexpr char kInfoUsage[] = "usage: d88info [--sectors] [--json] FILE...\n";
inline constexpr char kInfoHelp[] =
    "usage: d88info [--sectors] [--json] FILE...\n"
    "Shows the disk images in D88 files as they are laid out, what is wrong with\n"
    "a damaged one, and what d88cut would make of each image. A FILE may be a zip,\n"
    "7z, LZH, RAR or tar archive (each file in it is reported, archives in it\n"
    "too), a D88 file compressed with gzip, xz or bzip2, or a folder (every D88\n"
    "file below it is reported); - reads standard input.\n"
    "\n"
    "  --sectors  also list the records of every track, one track a line\n"
    "  --json     write one JSON document for all the files instead\n"
    "  -h, --help show this text\n"
    "  --version  show the version\n";
// Given several copies of a disk: whether they give a file whole together
// (the file, the copies), or the first sector missing or damaged in every
// copy (its track, C, H and R); where copies that differ part.
inline constexpr char kInfoTogetherWhole[] = "together: %s is whole in its %d copies\n";
inline constexpr char kInfoTogetherNotWhole[] =
    "together: %s is whole in none of its %d copies: track %d (C %d, H %d, R %d) is missing or "
    "damaged in each\n";
inline constexpr char kInfoCopiesDiffer[] =
    "together: the copies of %s differ at track %d (C %d, H %d, R %d); they are not mixed\n";
inline constexpr char kInfoVersion[] = "d88info %s\n";
inline constexpr char kInfoUnknownOption[] = "d88info: unknown option: %s\n";
inline constexpr char kInfoOpenFailure[] = "d88info: cannot open %s: %s\n";  // path, reason
inline constexpr char kInfoReadFailure[] = "d88info: cannot read %s: %s\n";  // path, reason
inline constexpr char kInfoFolderUnreadable[] =
    "d88info: cannot read the folder %s: %s\n";  // path, reason
// An archive given where libarchive is missing: the path, its kind ("zip archive").
inline constexpr char kInfoNoArchiveLibrary[] =
    "d88info: %s is a %s: install libarchive13, or unpack it\n";
inline constexpr char kInfoOutputFailure[] = "d88info: error: cannot write standard output: %s\n";
inline constexpr char kInfoFile[] = "file %s  size %lld\n";  // with several files
inline constexpr char kInfoFileSizeUnknown[] = "file %s  size unknown\n";
inline constexpr char kInfoNoImage[] = "no disk image in %s\n";
// An archive that holds no file: its path and kind ("zip archive"); the
// JSON record's "notD88" with the kind.
inline constexpr char kInfoEmptyArchive[] = "%s is a %s that holds no file\n";
inline constexpr char kInfoEmptyArchiveWhy[] = "it is a %s that holds no file";
// The file is no D88 file at all: the path, why (describeNotD88).
inline constexpr char kInfoNotD88[] = "%s is not a D88 file: %s\n";
// index, offset, disk size, media byte, media kind, write protection, header
// length, listed tracks, name
inline constexpr char kInfoImage[] =
    "image %d  offset 0x%08X  size %lu  media 0x%02X (%s)  protect 0x%02X  header %d  "
    "tracks %d  name \"%s\"\n";
inline constexpr char kInfoUnreadableImage[] = "image %d  header cannot be read\n";
inline constexpr char kInfoSystemDisk[] = "  system disk\n";
inline constexpr char kInfoScenarioDisk[] = "  scenario disk %d\n";
inline constexpr char kInfoOther[] = "  not a disk of the game\n";
// Disk id 0, and the file ends before the signature's track; the lines of
// LOADER, DRIVER and MUSIC follow.
inline constexpr char kInfoCutShortSystemDisk[] =
    "  probably the system disk, cut short before its signature (track 79)\n";
// Why an image is not one: what recognition saw.
// Where the boot sector is not, then: its disk id reads as 0.
inline constexpr char kInfoWhyNoBoot[] =
    "    why: no boot sector (track 0, C 0, H 0, R 1): %s; its disk id reads as 0\n";
// A boot sector whose id is no disk of the game's: the id.
inline constexpr char kInfoWhyOtherId[] =
    "    why: the boot sector's disk id is %u; the game's disks have 0 to 4\n";
// Disk id 0 without the signature sector: where it is not.
inline constexpr char kInfoWhyNoSignature[] =
    "    why: disk id 0 (the system disk's), but no signature sector (track 79, C 39, H 1, "
    "R 5): %s\n";
// Disk id 0, the signature sector (or the boot sector in its place) holding
// other bytes: the 16 bytes compared, escaped.
inline constexpr char kInfoWhyOtherSignature[] =
    "    why: disk id 0 (the system disk's), but the signature sector begins \"%s\", not "
    "\"QUARVENT        \"\n";
inline constexpr char kInfoWhyBootInstead[] =
    "    why: disk id 0 (the system disk's), but no signature sector (track 79, C 39, H 1, "
    "R 5): %s, and the boot sector begins \"%s\", not \"QUARVENT        \"\n";
// Where a sector is not, by SectorAbsence.
inline constexpr const char* kInfoAbsence[] = {"", "the track is absent",
                                               "the track lies past the end of the file",
                                               "no such sector on the track"};
inline constexpr char kInfoFileFound[] = "    %s: %d of %d bytes found";  // name, found, length
inline constexpr char kInfoRunStop[] = "; %s";  // where and why (describeRunStop)
inline constexpr char kInfoTrack[] = "  track %d  cylinder %d  head %d:";  // index, C, H
inline constexpr char kInfoSectorId[] = " %u/%u/%u/%u";                    // C/H/R/N
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
// bytes present, disk size, bytes missing, where the file ends
inline constexpr char kNoteTruncated[] =
    "image cut short: %lld of its %ld bytes are in the file; %lld bytes are missing from offset "
    "0x%08llX on";
// the recorded size, the same as the reader reads it
inline constexpr char kNoteNegativeSize[] =
    "disk size 0x%08lX reads as %ld, a negative size: d88cut finds none of its tracks";
// media byte, its kind, the track, its data bytes
inline constexpr char kNoteMediaHighDensity[] =
    "media 0x%02X (%s) declared, but track %d holds %lld data bytes, as only a high-density "
    "(2HD) track can";
// media byte, its kind, the most data bytes a track holds
inline constexpr char kNoteMediaDoubleDensity[] =
    "media 0x%02X (%s) declared, but no track holds more than %lld data bytes, as on a "
    "double-density disk";
inline constexpr char kNotePartialHeader[] =
    "a partial image header of %lld bytes at the end of the file (offset 0x%08llX)";
inline constexpr char kNoteTrailingBytes[] = "%lld bytes after the last image (offset 0x%08llX)";
inline constexpr char kNoteMoreImages[] = "images past the 64 that d88cut looks at: %d";
inline constexpr char kNoteRepeatedImage[] =
    "d88cut looks at this image %d times (images %d to %d start at this offset)";
inline constexpr char kNoteShortHeader[] = "short header: %d bytes, a track table of %d entries";
inline constexpr char kNoteSizeBelowHeader[] = "disk size %lu is smaller than the header (%d)";
inline constexpr char kNoteNegativeEntry[] =
    "%s: the track-table entry is negative as a signed 32-bit value";
inline constexpr char kNoteEntryInHeader[] = "%s: the track-table entry points inside the header";
inline constexpr char kNoteEntryPastSize[] = "%s: the track-table entry is above the disk size";
inline constexpr char kNoteEntryPastFile[] =
    "%s: the first record header is not whole inside the image's bytes (they end at offset "
    "0x%08llX)";
inline constexpr char kNoteBlankTrack[] = "%s: blank (the first record header has count 0)";
// the tracks, then what each found and declares (kNoteCountOfTrack)
inline constexpr char kNoteCountMismatch[] =
    "%s: the records found differ from the count the first header declares (%s)";
inline constexpr char kNoteCountOfTrack[] = "%strack %d: %d found, %d declared";
inline constexpr char kNoteSizeMismatch[] = "%s: a record's data size differs from 128 << N";
inline constexpr char kNotePastImageEnd[] =
    "%s: a record's data runs past the image's bytes (they end at offset 0x%08llX)";
inline constexpr char kNoteDuplicateId[] = "%s: two records carry one sector ID";

#endif  // D88CUT_INFO_MESSAGES_H_
