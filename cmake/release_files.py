#!/usr/bin/env python3
"""Build steps of the shipped folder that must give the same bytes on every run.

  epoch <source dir> <out file>
      The time stamp of every shipped file: SOURCE_DATE_EPOCH when set, else
      the time of the last commit of the source checkout, else a fixed value.
      The file is rewritten only when its value changes, so what depends on
      it is redone only then.
  text <UTF-8 text> <out file>
      A text with LF line ends into Shift-JIS (code page 932) with CR LF line
      ends. A character that code page 932 lacks stops the build.
  zip <epoch file> <zip> <sums file> <folder> <member>...
      The members of the folder, in the order given, into the zip with the
      epoch's time, fixed attributes and no extra fields; then the sums file
      with the zip's SHA-256 in the format of sha256sum.
"""
import hashlib
import os
import subprocess
import sys
import time
import zipfile

# 2012-11-01 00:00:00 UTC, the release month, for a source tree without git.
FALLBACK_EPOCH = 1351728000
# DOS time stamps in a zip start at 1980.
DOS_EPOCH = 315532800


def source_epoch(source_dir):
    value = os.environ.get("SOURCE_DATE_EPOCH", "").strip()
    if value:
        if not value.isdigit():
            sys.exit("release_files: SOURCE_DATE_EPOCH is not a number of seconds: " + value)
        return int(value)
    try:
        out = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                             capture_output=True, text=True, check=False)
        if out.returncode == 0 and out.stdout.strip().isdigit():
            return int(out.stdout.strip())
    except OSError:
        pass
    return FALLBACK_EPOCH


def write_if_changed(path, data):
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def cmd_epoch(source_dir, out):
    write_if_changed(out, b"%d\n" % source_epoch(source_dir))


def cmd_text(src, out):
    with open(src, "rb") as f:
        raw = f.read()
    if b"\r" in raw:
        sys.exit("release_files: %s must have LF line ends only" % src)
    text = raw.decode("utf-8")
    if text and not text.endswith("\n"):
        text += "\n"
    try:
        data = text.replace("\n", "\r\n").encode("cp932")
    except UnicodeEncodeError as e:
        line = text.count("\n", 0, e.start) + 1
        sys.exit("release_files: %s line %d: %r is not in code page 932" % (src, line, text[e.start]))
    write_if_changed(out, data)


def cmd_zip(epoch_file, zip_path, sums_path, folder, members):
    with open(epoch_file) as f:
        epoch = max(int(f.read().strip()), DOS_EPOCH)
    # Zip times carry no zone; the UTC time of the epoch is what every builder gets.
    stamp = time.gmtime(epoch)[:6]
    tmp = zip_path + ".tmp"
    with zipfile.ZipFile(tmp, "w") as z:
        for name in members:
            with open(os.path.join(folder, name), "rb") as f:
                data = f.read()
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix permissions in the high half
            mode = 0o100755 if name.lower().endswith(".exe") else 0o100644
            info.external_attr = mode << 16
            z.writestr(info, data, compresslevel=9)
    os.replace(tmp, zip_path)
    with open(zip_path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    with open(sums_path, "w", newline="\n") as f:
        f.write("%s  %s\n" % (digest, os.path.basename(zip_path)))


def main(argv):
    if len(argv) == 3 and argv[0] == "epoch":
        cmd_epoch(argv[1], argv[2])
    elif len(argv) == 3 and argv[0] == "text":
        cmd_text(argv[1], argv[2])
    elif len(argv) >= 6 and argv[0] == "zip":
        cmd_zip(argv[1], argv[2], argv[3], argv[4], argv[5:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
