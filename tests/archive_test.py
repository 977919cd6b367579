#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""d88cut and d88info on archives, compressed files and pipes.

A run on an archive must be the run on its D88 files unpacked and named in
the archive's order: the same lines (each heading "ARCHIVE:ENTRY:" instead of
"ENTRY:"), status and files. The archives are made here: zip, gzip, xz and
bzip2 with Python, 7z and an encrypted zip with 7z, LZH with jLHA's library
(MakeLzh.java). A bad archive changes nothing in the folder.

Run as: archive_test.py D88CUT D88INFO MAKE_SAMPLE MAKELZH_JAVA
"""
import bz2
import gzip
import json
import lzma
import os
import resource
import shutil
import struct
import subprocess
import sys
import tarfile
import tempfile
import zipfile

D88CUT, D88INFO, MAKE_SAMPLE, MAKELZH = sys.argv[1:5]
WORK = tempfile.mkdtemp(prefix="d88cut-archives-")
# The sample set's five images under Japanese names that sort as they stand.
NAMES = ["1 システム.d88", "2 シナリオ4.d88", "3 シナリオ2.d88", "4 シナリオ3.d88", "5 シナリオ1.d88"]
OUTPUTS = ["LOADER", "DRIVER", "MUSIC", "MUSIC2"]
failures = []


def path(*parts):
    return os.path.join(WORK, *parts)


def run(program, args, cwd, stdin=None, one_core=False):
    """Runs program in cwd; one_core holds it to the first core it may use."""
    first_core = {min(os.sched_getaffinity(0))}
    r = subprocess.run([program] + args, cwd=cwd, stdin=stdin, capture_output=True,
                       env=dict(os.environ, LC_ALL="C"),
                       preexec_fn=(lambda: os.sched_setaffinity(0, first_core)) if one_core else None)
    return r.returncode, r.stdout, r.stderr


def fresh(name):
    folder = path(name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def files_in(folder):
    return {n: open(os.path.join(folder, n), "rb").read() for n in sorted(os.listdir(folder))}


def check(label, ok, detail=""):
    if not ok:
        failures.append(f"{label}: {detail}")


def split_sample():
    subprocess.run([MAKE_SAMPLE, path("sample.d88")], check=True)
    data = open(path("sample.d88"), "rb").read()
    os.makedirs(path("loose"))
    position = 0
    for name in NAMES:
        size = struct.unpack_from("<I", data, position + 0x1C)[0]
        open(path("loose", name), "wb").write(data[position:position + size])
        position += size
    return data


def make_zip(archive, names, flagged=True):
    """A zip of the loose files and junk; unflagged names are patched in as Shift_JIS."""
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("readme.txt", "the disks of the game\n")
        z.writestr("disks/", "")
        z.writestr("__MACOSX/._x", b"\x00\x05\x16\x07" + bytes(78))
        for i, name in enumerate(names):
            stored = name if flagged else str(i).ljust(len(name.encode("cp932")), "_")
            z.writestr(stored, open(path("loose", name), "rb").read())
    if not flagged:
        data = open(archive, "rb").read()
        for i, name in enumerate(names):
            sjis = name.encode("cp932")
            data = data.replace(str(i).ljust(len(sjis), "_").encode(), sjis)
        open(archive, "wb").write(data)


def make_tar(archive, names, mode):
    with tarfile.open(archive, mode) as t:
        for name in names:
            t.add(path("loose", name), arcname=name)


def make_with(tool_args, archive, names):
    subprocess.run(tool_args + [archive] + names, cwd=path("loose"), check=True,
                   stdout=subprocess.DEVNULL)


def make_lzh(archive, names, method, level):
    pairs = [a for n in names for a in (path("loose", n), n)]
    subprocess.run(["java", "-cp", f"{path('lzh')}:/usr/share/java/jlha.jar", "MakeLzh", archive,
                    method, str(level)] + pairs, check=True)


def same_as_loose(label, archives, loose_args, options=()):
    """The run on the archives against the run on the loose files, in their folder."""
    for name in OUTPUTS:
        if os.path.exists(path("loose", name)):
            os.remove(path("loose", name))
    shutil.rmtree(path("loose", "out"), ignore_errors=True)
    got_dir = fresh("got")
    want = run(D88CUT, list(options) + loose_args, path("loose"))
    got = run(D88CUT, list(options) + archives, got_dir)
    out = got[1]
    for a in archives:
        out = out.replace(a.encode() + b":", b"")
    out = out.replace(path("loose").encode() + b"/", b"")
    into = "out" if "-d" in options else ""
    want_files = {n: open(path("loose", into, n), "rb").read() for n in OUTPUTS
                  if os.path.exists(path("loose", into, n))}
    got_files = files_in(os.path.join(got_dir, into)) if os.path.isdir(
        os.path.join(got_dir, into)) else {}
    check(label + " status", got[0] == want[0], f"{got[0]} != {want[0]}\n{got[2]!r}")
    check(label + " output", out == want[1], f"\n{out!r}\n!=\n{want[1]!r}")
    check(label + " errors", got[2] == want[2], f"{got[2]!r} != {want[2]!r}")
    check(label + " files", got_files == want_files and (len(want_files) == 4 or "-n" in options),
          sorted(got_files))


def expect_refused(label, archive, words, setup=None):
    """A bad archive: status 1, the archive named, the folder as it was."""
    folder = fresh("bad")
    open(os.path.join(folder, "LOADER"), "wb").write(b"old")
    status, _, err = run(D88CUT, [archive], folder)
    check(label + " status", status == 1, status)
    check(label + " words", os.path.basename(archive).encode() in err and words.encode() in err,
          err)
    check(label + " folder", files_in(folder) == {"LOADER": b"old"}, sorted(files_in(folder)))
    status, _, err = run(D88INFO, [archive], folder)
    check(label + " d88info", status == 1 and err.startswith(b"d88info: cannot read ") and
          os.path.basename(archive).encode() in err, err)


def gzip_of_ones(name, size):
    """(Not zeros: a block of zeros ends a tar archive, and such a file is one.)"""
    with gzip.open(name, "wb", compresslevel=1) as packed:
        for _ in range(size // (1 << 20)):
            packed.write(b"\x01" * (1 << 20))
    return name


def refused_unread():
    """A stored zip entry that records 200 MB but holds 1 KB: refused by its
    recorded size, before a byte of it is read (read, it would be cut short)."""
    with zipfile.ZipFile(path("claims.zip"), "w", zipfile.ZIP_STORED) as z:
        z.writestr("claims.d88", bytes(1024))
    data = bytearray(open(path("claims.zip"), "rb").read())
    for signature, sizes_at in ((b"PK\x03\x04", 18), (b"PK\x01\x02", 20)):
        at = data.find(signature)
        struct.pack_into("<II", data, at + sizes_at, 200_000_000, 200_000_000)
    open(path("claims.zip"), "wb").write(data)
    expect_refused("an entry recording 200 MB", path("claims.zip"), "larger than any D88 file")


def loose_kinds(sample):
    """A D88 file whose disk name starts like a zip stays a D88 file; a FIFO
    is read as a pipe; a compressed file is named by its own path."""
    zip_named = bytearray(sample)
    zip_named[0:4] = b"PK\x03\x04"
    open(path("pk.d88"), "wb").write(zip_named)
    status, _, err = run(D88CUT, [path("pk.d88")], fresh("got"))
    check("a D88 file named PK", status == 0 and len(files_in(path("got"))) == 4, err)
    struct.pack_into("<I", zip_named, 0x20, 0)  # and no track 0
    open(path("pk0.d88"), "wb").write(zip_named)
    status, _, err = run(D88CUT, [path("pk0.d88")], fresh("got"))
    check("a D88 file named PK without track 0", status == 0 and b"zip" not in err, err)
    os.mkfifo(path("fifo.d88"))
    writer = subprocess.Popen(["sh", "-c", f'cat "{path("sample.d88")}" > "{path("fifo.d88")}"'])
    got = run(D88CUT, [path("fifo.d88")], fresh("got"))
    writer.wait()
    want = run(D88CUT, [path("sample.d88")], fresh("want"))
    check("a FIFO", got[0] == want[0] and got[1] == want[1] and
          files_in(path("got")) == files_in(path("want")), got[2])
    _, listing, _ = run(D88INFO, ["--json", path("sample.d88.gz")], WORK)
    record = json.loads(listing)["files"][0]
    check("d88info sample.d88.gz", record["path"] == path("sample.d88.gz") and
          record["entry"] is None, record["path"])


def nested():
    """Archives inside archives, each named in the chain: a zip in a zip in a
    7z (streamed), a 7z in a zip (held), a .gz in a zip."""
    sample = open(path("sample.d88"), "rb").read()
    with zipfile.ZipFile(path("inner.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("Disk 1.d88", sample)
        z.writestr("readme.txt", "the game\n")
    with zipfile.ZipFile(path("mid.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.write(path("inner.zip"), "Title (1987).zip")
    make_with(["7z", "a", "-t7z"], path("outer.7z"), [path("mid.zip")])
    make_with(["7z", "a", "-t7z"], path("in.7z"), [path("sample.d88")])
    with zipfile.ZipFile(path("has7z.zip"), "w") as z:
        z.write(path("in.7z"), "set.7z")
        z.write(path("sample.d88.gz"), "set.d88.gz")
    want = run(D88CUT, [path("sample.d88")], fresh("want"))
    for archive, chains in (("outer.7z", ["outer.7z:mid.zip:Title (1987).zip:Disk 1.d88:"]),
                            ("has7z.zip", ["has7z.zip:set.7z:sample.d88:",
                                           "has7z.zip:set.d88.gz:"])):
        status, out, err = run(D88CUT, ["-d", "out", path(archive)], fresh("got"))
        for chain in chains:
            check("nested " + chain, (path("") + chain).encode() in out, out[:300])
        check("nested " + archive, status == 0 and files_in(path("got", "out")) ==
              files_in(path("want")), err)


def image_of(sample, index):
    """Image `index` of the sample set, and where its boot sector's data lies."""
    at = 0
    for _ in range(index):
        at += struct.unpack_from("<I", sample, at + 0x1C)[0]
    size = struct.unpack_from("<I", sample, at + 0x1C)[0]
    image = bytearray(sample[at:at + size])
    return image, struct.unpack_from("<I", image, 0x20)[0] + 16


def walk():
    """A collection: other software, junk, nested archives, a damaged copy, a
    loop, a FIFO and a dangling link. d88cut names only the game's files,
    counts the rest and cuts the set whole; d88info reports the D88 files."""
    sample = open(path("sample.d88"), "rb").read()
    tree = fresh("tree")
    for folder in ("0 release", "a other", "b junk", "c packs", "d loose"):
        os.makedirs(os.path.join(tree, folder))
    other, boot = image_of(sample, 2)
    other[boot + 255] = 9  # a disk id of no disk of the game
    for i in range(3):
        open(os.path.join(tree, "a other", f"other{i}.d88"), "wb").write(other)
    open(os.path.join(tree, "b junk", "readme.txt"), "w").write("notes\n")
    open(os.path.join(tree, "b junk", "empty"), "w").close()
    system, _ = image_of(sample, 0)
    damaged = bytearray(system)
    damaged[struct.unpack_from("<I", damaged, 0x20 + 4 * 30)[0] + 8] = 0xB0  # a CRC error in MUSIC
    with zipfile.ZipFile(path("inner.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("Disk 1.d88", bytes(damaged))
    with zipfile.ZipFile(path("mid.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.write(path("inner.zip"), "Title (1987).zip")
    make_with(["7z", "a", "-t7z"], os.path.join(tree, "c packs", "pack.7z"), [path("mid.zip")])
    release = bytearray(system)  # another release, before the first's whole copies
    release[struct.unpack_from("<I", release, 0x20 + 4 * 2)[0] + 16 + 100] ^= 0xFF
    open(os.path.join(tree, "0 release", "system.d88"), "wb").write(release)
    reheadered = bytearray(system)
    reheadered[0:8] = b"REDUMPED"
    open(os.path.join(tree, "d loose", "system.d88"), "wb").write(reheadered)
    rest = sample[len(system):]
    open(os.path.join(tree, "d loose", "scenarios.d88"), "wb").write(rest)
    os.symlink(tree, os.path.join(tree, "loop"))
    os.mkfifo(os.path.join(tree, "fifo"))
    os.symlink(os.path.join(tree, "nowhere"), os.path.join(tree, "dangling"))
    status, out, err = run(D88CUT, ["-d", "out", tree], fresh("got"))
    lines = err.decode("cp932").splitlines()
    check("walk status", status == 0, err)
    check("walk files", files_in(path("got", "out")) == files_in(path("want")), err)
    check("walk lines", len(lines) <= 25 and lines[-1] == "d88cut: note: looked at 9 files: "
          "7 D88 files, 3 archives; the game's disks in 4 of them", lines)
    check("walk quiet", b"a other/" not in out + err and b"readme" not in out + err, out + err)
    check("walk chain", b"pack.7z:mid.zip:Title (1987).zip:Disk 1.d88:" in out, out)
    _, listing, _ = run(D88INFO, ["--json", tree], WORK)
    records = json.loads(listing)["files"]
    check("d88info walk", [os.path.relpath(r["path"], tree) for r in records] ==
          ["0 release/system.d88"] + [f"a other/other{i}.d88" for i in range(3)] +
          ["c packs/pack.7z:mid.zip:Title (1987).zip:Disk 1.d88", "d loose/scenarios.d88",
           "d loose/system.d88"], [r["path"] for r in records])
    # The list: every copy named, nothing written; the damaged and the
    # re-headered copy one release, the other release another.
    status, out, _ = run(D88CUT, ["-l", tree], fresh("got"))
    check("list", status == 0 and os.listdir(path("got")) == [] and
          b"pack.7z:mid.zip:Title (1987).zip:Disk 1.d88 (image 0)" in out and
          out.count(b"system.d88 (image 0)") == 2, out)
    _, listing, _ = run(D88CUT, ["-l", "--json", tree], fresh("got"))
    disks = json.loads(listing)["disks"]
    system_copies = {os.path.relpath(c["path"], tree): c for c in disks[0]["copies"]}
    prints = {name: c["fingerprint"] for name, c in system_copies.items()}
    nested_copy = "c packs/pack.7z:mid.zip:Title (1987).zip:Disk 1.d88"
    check("list fingerprints", prints[nested_copy] == prints["d loose/system.d88"] !=
          prints["0 release/system.d88"], prints)
    check("list files", system_copies[nested_copy]["files"]["MUSIC"]["whole"] is False and
          system_copies[nested_copy]["cutFrom"] == ["LOADER", "DRIVER", "MUSIC"] and
          system_copies["d loose/system.d88"]["cutFrom"] == ["MUSIC"], system_copies)
    check("list scenarios", [len(d["copies"]) for d in disks] == [3, 1, 1, 1, 1], disks)
    # Every core or one: the same lines in the same order, the same files;
    # a damaged archive among them is named either way, a folder too deep to
    # walk too, and a link to a file is read.
    with open(os.path.join(tree, "b junk", "broken.zip"), "wb") as broken:
        broken.write(b"PK\x03\x04" + bytes(200))
    os.symlink(os.path.join(tree, "b junk", "readme.txt"), os.path.join(tree, "b junk", "linked"))
    os.makedirs(os.path.join(tree, "e deep", *["d"] * 65))
    # Folders whose path grows past what the system takes: made one inside
    # the other, each from the one above.
    at = os.open(tree, os.O_RDONLY)
    for level in range(18):
        os.mkdir("f" * 250, dir_fd=at)
        inner = os.open("f" * 250, os.O_RDONLY, dir_fd=at)
        os.close(at)
        at = inner
    os.close(at)
    for args in (["-d", ".", tree], ["-l", "--json", tree]):
        runs = [run(D88CUT, args, fresh("got"), one_core=one) + (files_in(path("got")),)
                for one in (False, True)]
        err = runs[0][2]
        check("walk on one core " + args[0], runs[0] == runs[1] and b"broken.zip" in err and
              b"looked at 11 files" in err and (args[0] == "-l" or (
                  b"folders deep; it was not looked into" in err and b"File name too long" in err)),
              runs)


def no_program_runs():
    """Compressed data that libarchive would hand to an outside program is never
    handed: programs of those names on PATH leave no mark."""
    marks = fresh("marks")
    tools = fresh("tools")
    for tool in ("grzip", "lrzip", "lzop", "lz4", "zstd", "bzip2", "gzip", "xz", "lzip"):
        with open(os.path.join(tools, tool), "w") as script:
            script.write(f"#!/bin/sh\ntouch {marks}/{tool}\ncat\n")
        os.chmod(os.path.join(tools, tool), 0o755)
    heads = {"grzip": b"GRZipII\x00\x02\x04:)", "lrzip": b"LRZI\x00\x06",
             "lzop": b"\x89LZO\x00\r\n\x1a\n", "lz4": b"\x04\x22\x4d\x18",
             "zstd": b"\x28\xb5\x2f\xfd"}
    env = dict(os.environ, PATH=tools + os.pathsep + os.environ["PATH"])
    for name, head in heads.items():
        open(path(name + ".gz"), "wb").write(gzip.compress(head + bytes(1000)))
        for program in ([D88CUT, "-n"], [D88INFO]):
            subprocess.run(program + [path(name + ".gz")], cwd=fresh("got"), env=env,
                           capture_output=True)
    check("no program run", os.listdir(marks) == [], os.listdir(marks))
    with zipfile.ZipFile(path("text.zip"), "w") as z:
        z.writestr("readme.txt", "no disk here\n")
        z.writestr("notes/", "")
    _, _, err = run(D88CUT, [path("text.zip")], fresh("got"))
    check("files in a zip", b"holds no D88 file (files in it: 1)" in err, err)


def no_file_in_archive():
    """An archive that holds no file is named by d88info, in text and in JSON."""
    with zipfile.ZipFile(path("empty.zip"), "w") as z:
        z.writestr("disks/", "")
    _, text, _ = run(D88INFO, [path("empty.zip")], WORK)
    check("d88info empty zip", text == path("empty.zip").encode() +
          b" is a zip archive that holds no file\n", text)
    _, listing, _ = run(D88INFO, ["--json", path("empty.zip")], WORK)
    files = json.loads(listing)["files"]
    check("d88info empty zip JSON", [f["path"] for f in files] == [path("empty.zip")], files)
    with tarfile.open(path("empty.tar"), "w") as t:
        t.add(path("loose"), arcname="disks", recursive=False)
    _, text, _ = run(D88INFO, [path("empty.tar")], WORK)
    check("d88info empty tar", text.endswith(b" is a tar archive that holds no file\n"), text)


def main():
    sample = split_sample()
    os.makedirs(path("lzh"))
    subprocess.run(["javac", "-d", path("lzh"), "-cp", "/usr/share/java/jlha.jar", MAKELZH],
                   check=True)
    all_names = [path("loose", n) for n in NAMES]
    archives = {
        "zip, UTF-8 names and junk": ("set.zip", lambda a: make_zip(a, NAMES)),
        "zip, Shift_JIS names": ("sjis.zip", lambda a: make_zip(a, NAMES, flagged=False)),
        "7z LZMA2": ("set.7z", lambda a: make_with(["7z", "a", "-t7z", "-m0=lzma2"], a, NAMES)),
        "LZH lh5 level 0": ("set0.lzh", lambda a: make_lzh(a, NAMES, "-lh5-", 0)),
        "LZH lh6 level 1": ("set1.lzh", lambda a: make_lzh(a, NAMES, "-lh6-", 1)),
        "LZH lh7 level 2": ("set2.lzh", lambda a: make_lzh(a, NAMES, "-lh7-", 2)),
        "LZH lh5 level 2": ("set5.lzh", lambda a: make_lzh(a, NAMES, "-lh5-", 2)),
        "tar": ("set.tar", lambda a: make_tar(a, NAMES, "w")),
        "tar.gz": ("set.tar.gz", lambda a: make_tar(a, NAMES, "w:gz")),
        "tar.bz2": ("set.tar.bz2", lambda a: make_tar(a, NAMES, "w:bz2")),
    }
    for label, (name, make) in archives.items():
        make(path(name))
        same_as_loose(label, [path(name)], NAMES)
    same_as_loose("zip -d", [path("set.zip")], NAMES, ["-d", "out"])
    same_as_loose("zip -n", [path("set.zip")], NAMES, ["-n"])

    # Several archives and a loose file in one run.
    make_zip(path("first.zip"), NAMES[:2])
    make_with(["7z", "a", "-t7z"], path("last.7z"), NAMES[3:])
    same_as_loose("mixed", [path("first.zip"), path("loose", NAMES[2]), path("last.7z")],
                  NAMES, ["-d", "out"])

    # One D88 file compressed whole, and the same through a pipe.
    for suffix, pack in ((".gz", gzip.compress), (".xz", lzma.compress), (".bz2", bz2.compress)):
        open(path("sample.d88" + suffix), "wb").write(pack(sample))
        same_as_loose("sample.d88" + suffix, [path("sample.d88" + suffix)], [path("sample.d88")])
    want = run(D88CUT, [path("sample.d88")], fresh("want"))
    with open(path("sample.d88.xz"), "rb") as packed:
        unpack = subprocess.Popen(["xz", "-dc"], stdin=packed, stdout=subprocess.PIPE)
        got = run(D88CUT, ["-"], fresh("got"), stdin=unpack.stdout)
        unpack.wait()
    check("xz -dc | d88cut -", got == want and files_in(path("got")) == files_in(path("want")),
          got[2])
    # An archive through standard input: every entry, as from its path.
    want = run(D88CUT, [path("set.zip")], fresh("want"))
    with open(path("set.zip"), "rb") as packed:
        got = run(D88CUT, ["-"], fresh("got"), stdin=packed)
    check("d88cut - < set.zip", got[1] == want[1].replace(path("set.zip").encode() + b":", b"-:")
          and files_in(path("got")) == files_in(path("want")), got[1][:200])

    # Archives that cannot be read change nothing.
    data = open(path("set.zip"), "rb").read()
    system = zipfile.ZipFile(path("set.zip")).getinfo(NAMES[0])
    open(path("cut.zip"), "wb").write(data[:system.header_offset + system.compress_size // 2])
    expect_refused("truncated zip", path("cut.zip"), "damaged or cut short")
    make_with(["7z", "a", "-tzip", "-pSECRET"], path("secret.zip"), NAMES[:1])
    expect_refused("encrypted zip", path("secret.zip"), "is encrypted")
    make_lzh(path("lh1.lzh"), NAMES[:1], "-lh1-", 0)
    expect_refused("LZH lh1", path("lh1.lzh"), "cannot be read")
    with zipfile.ZipFile(path("huge.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        with z.open(zipfile.ZipInfo("huge.d88"), "w", force_zip64=True) as entry:
            entry.write(sample[:0x2B0])
            for _ in range(1024):
                entry.write(bytes(1 << 20))
    expect_refused("1 GiB entry", path("huge.zip"), "larger than any D88 file")
    # Before the runs below, which read up to the limit on purpose.
    memory = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024
    check("memory", memory < 300 << 20, f"{memory} bytes")
    refused_unread()
    expect_refused("gzip past the limit", gzip_of_ones(path("ones.gz"), 180_000_000),
                   "larger than any D88 file")
    with subprocess.Popen(["head", "-c", "180000000", "/dev/zero"], stdout=subprocess.PIPE) as zeros:
        status, _, err = run(D88CUT, ["-"], fresh("got"), stdin=zeros.stdout)
    check("a pipe past the limit", status == 1 and b"larger than any D88 file" in err, err)
    layers = sample[:4096]
    for _ in range(30):
        layers = gzip.compress(layers)
    open(path("layers.gz"), "wb").write(layers)
    expect_refused("gzip 30 times over", path("layers.gz"), "too many times over")
    nested()
    walk()
    no_program_runs()
    no_file_in_archive()
    loose_kinds(sample)

    # d88info: each entry reported as its loose file is, named by its archive.
    _, loose, _ = run(D88INFO, ["--json"] + all_names, WORK)
    want_files = json.loads(loose)["files"]
    for name, junk in (("set.zip", 2), ("sjis.zip", 2), ("set2.lzh", 0)):
        _, listing, _ = run(D88INFO, ["--json", path(name)], WORK)
        got_files = json.loads(listing)["files"]
        entries = [f.get("entry") for f in got_files]
        check("d88info " + name, entries == ["readme.txt", "__MACOSX/._x"][:junk] + NAMES, entries)
        check("d88info junk", all("notD88" in f for f in got_files[:junk]), got_files[:junk])
        for got_file, want_file in zip(got_files[junk:], want_files):
            check("d88info " + got_file["path"], got_file["archive"] == path(name) and
                  got_file["images"] == want_file["images"], got_file["path"])

    shutil.rmtree(WORK)
    for failure in failures:
        print("FAIL", failure)
    print(f"{len(failures)} failed" if failures else "every archive read as its files")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
