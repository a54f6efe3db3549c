#!/usr/bin/env bash
# Checks the user's guide Tessel.txt in the release zip of a 32-bit tree
# against the programs of the same zip: Shift-JIS that decodes strictly as
# code page 932, CR LF after every line and no lone CR or LF, the version
# equal to the version resource (FileVersion, ProductVersion and the fixed
# version) of Tessel.exe and Perch.exe, every line within 71 columns (a
# double-byte character counting two), the date equal to the one of Tessel's
# version box, and the zip's name, the notice, the home-page address and the
# renaming examples of the help page as the programs carry them. Then the
# same checks are run on guides spoilt on purpose, each of which must fail.
# Usage: check-guide.sh <build root>/win32
# Prints one PASS or FAIL line per check; exits 1 when any check fails.
set -u
tree=${1:?usage: check-guide.sh <build root>/win32}
zip=$(ls "$tree"/Tessel-*.zip 2>/dev/null | head -1)
if [ -z "$zip" ]; then
  echo "FAIL the tree has a release zip"
  echo "check-guide: 1 check(s) failed"
  exit 1
fi

python3 - "$zip" <<'EOF'
import io
import os
import re
import struct
import sys
import zipfile

RT_DIALOG, RT_VERSION = 5, 16


# ---- PE resources -----------------------------------------------------------

def pe_resources(pe):
    """Every resource of a PE file as (type, name, language, bytes)."""
    if pe[:2] != b"MZ":
        raise ValueError("no MZ header")
    off = struct.unpack_from("<I", pe, 0x3C)[0]
    if pe[off:off + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    sections, opt_size = struct.unpack_from("<H12xH", pe, off + 6)
    opt = off + 24
    magic = struct.unpack_from("<H", pe, opt)[0]
    dirs = opt + (96 if magic == 0x10B else 112)
    res_rva, res_size = struct.unpack_from("<II", pe, dirs + 2 * 8)
    table = []
    for i in range(sections):
        s = opt + opt_size + 40 * i
        vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", pe, s + 8)
        table.append((vaddr, max(vsize, rawsize), rawptr))

    def at(rva):
        for vaddr, size, rawptr in table:
            if vaddr <= rva < vaddr + size:
                return rawptr + rva - vaddr
        raise ValueError("RVA %#x in no section" % rva)

    base = at(res_rva)

    def entries(offset):
        named, ids = struct.unpack_from("<HH", pe, base + offset + 12)
        for k in range(named + ids):
            name, target = struct.unpack_from("<II", pe, base + offset + 16 + 8 * k)
            yield name, target

    found = []
    for rtype, t in entries(0):
        for rname, n in entries(t & 0x7FFFFFFF):
            for lang, l in entries(n & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", pe, base + (l & 0x7FFFFFFF))
                start = at(rva)
                found.append((rtype, rname, lang, pe[start:start + size]))
    return found


def version_info(block):
    """The fixed version numbers and the string table of a VS_VERSIONINFO."""
    strings = {}
    fixed = {}

    def align(p):
        return (p + 3) & ~3

    def node(p, depth):
        length, value_length, kind = struct.unpack_from("<HHH", block, p)
        end = p + length
        q = p + 6
        key_end = q
        while block[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = block[q:key_end].decode("utf-16-le")
        q = align(key_end + 2)
        size = value_length * 2 if kind == 1 else value_length
        value = block[q:q + size]
        if depth == 0:
            sig, _, fms, fls, pms, pls = struct.unpack_from("<6I", value, 0)
            if sig != 0xFEEF04BD:
                raise ValueError("no VS_FIXEDFILEINFO")
            fixed["file"] = (fms >> 16, fms & 0xFFFF, fls >> 16, fls & 0xFFFF)
            fixed["product"] = (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF)
        elif depth == 3 and kind == 1:
            strings[key] = value.decode("utf-16-le").split("\0")[0]
        q = align(q + size)
        while q + 6 <= end:
            q = align(node(q, depth + 1))
        return end

    node(0, 0)
    return fixed, strings


def dotted(numbers):
    """1,1,0,0 as 1.1: trailing zero parts dropped, at least two kept."""
    parts = list(numbers)
    while len(parts) > 2 and parts[-1] == 0:
        parts.pop()
    return ".".join(str(n) for n in parts)


def dialog_template_texts(data):
    """The caption and the control texts of one dialog template (plain or extended)."""
    def sz_or_ord(p):
        first = struct.unpack_from("<H", data, p)[0]
        if first == 0:
            return None, p + 2
        if first == 0xFFFF:
            return None, p + 4
        end = p
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[p:end].decode("utf-16-le"), end + 2

    extended = struct.unpack_from("<HH", data, 0) == (1, 0xFFFF)
    if extended:
        style, count = struct.unpack_from("<IH", data, 12)
        p = 26
    else:
        style, count = struct.unpack_from("<I4xH", data, 0)
        p = 18
    _, p = sz_or_ord(p)  # menu
    _, p = sz_or_ord(p)  # class
    caption, p = sz_or_ord(p)
    texts = [caption] if caption else []
    if style & 0x48:  # DS_SETFONT, DS_SHELLFONT: size (weight, italic, charset) and face
        p += 6 if extended else 2
        _, p = sz_or_ord(p)
    for _ in range(count):
        p = (p + 3) & ~3
        p += 24 if extended else 18
        _, p = sz_or_ord(p)  # class
        title, p = sz_or_ord(p)
        if title:
            texts.append(title)
        extra = struct.unpack_from("<H", data, p)[0]
        p += 2 + extra
    return texts


def dialog_texts(pe_bytes):
    """The texts of every dialog template of a program, one list per dialog."""
    return [dialog_template_texts(data) for rtype, _, _, data in pe_resources(pe_bytes)
            if rtype == RT_DIALOG]


# ---- the guide against the programs -----------------------------------------

def check_guide(guide, tessel, perch, zip_name):
    """The failed checks, as (name, detail) pairs; an empty list when all pass."""
    failed = []

    def expect(ok, name, detail=""):
        if not ok:
            failed.append((name, detail))
        return ok

    # Line ends: CR LF after every line, the last one included, nothing else.
    expect(len(guide) > 0 and guide.endswith(b"\r\n"), "the guide ends with CR LF")
    expect(guide.count(b"\n") == guide.count(b"\r\n"), "no LF without CR",
           "%d bare LF" % (guide.count(b"\n") - guide.count(b"\r\n")))
    expect(guide.count(b"\r") == guide.count(b"\r\n"), "no CR without LF",
           "%d bare CR" % (guide.count(b"\r") - guide.count(b"\r\n")))
    try:
        text = guide.decode("cp932")
    except UnicodeDecodeError as e:
        expect(False, "the guide decodes as code page 932", str(e))
        return failed
    lines = text.split("\r\n")

    # Every line within 71 columns; a double-byte character takes two.
    wide = [(n, len(line.encode("cp932"))) for n, line in enumerate(lines, 1)
            if len(line.encode("cp932")) > 71]
    expect(not wide, "every line within 71 columns", ", ".join("line %d: %d" % w for w in wide))

    # The version: one number throughout the guide, that of both programs.
    versions = set(re.findall(r"Ver\s*(\d+(?:\.\d+)+)", text))
    if expect(len(versions) == 1, "the guide states one version", "found %s" % sorted(versions)):
        version = versions.pop()
        for exe, data in (("Tessel.exe", tessel), ("Perch.exe", perch)):
            blocks = [d for t, _, _, d in pe_resources(data) if t == RT_VERSION]
            if not expect(len(blocks) == 1, exe + " has one version resource", "%d" % len(blocks)):
                continue
            fixed, strings = version_info(blocks[0])
            for key in ("FileVersion", "ProductVersion"):
                expect(strings.get(key) == version, "%s %s equals the guide's %s" % (exe, key, version),
                       "resource says %r" % strings.get(key))
            for key in ("file", "product"):
                expect(dotted(fixed.get(key, ())) == version,
                       "%s fixed %s version equals the guide's %s" % (exe, key, version),
                       "resource says %s" % dotted(fixed.get(key, ())))
            # A date in the version resource must be the guide's too.
            for key, value in strings.items():
                for date in re.findall(r"\d{4}\.\d{1,2}", value):
                    expect(date in text, "%s %s date %s is the guide's" % (exe, key, date))
        zips = set(re.findall(r"Tessel-[0-9.]*\d\.zip", text))
        expect(zips <= {zip_name}, "the zip's name in the guide is %s" % zip_name, "found %s" % sorted(zips))

        # The date: the one beside the version in Tessel's version box.
        boxes = [(m.group(1), m.group(2)) for texts in dialog_texts(tessel) for s in texts
                 for m in [re.fullmatch(r"Ver (\S+) \((\d{4}\.\d{1,2})\)", s)] if m]
        if expect(len(set(boxes)) == 1, "Tessel's version box states one version and date",
                  "found %s" % boxes):
            box_version, box_date = boxes[0]
            expect(box_version == version, "the version box's %s is the guide's" % box_version)
            dates = set(re.findall(r"Ver\s*[\d.]+\s*\((\d{4}\.\d{1,2})\)", text))
            expect(dates == {box_date}, "the guide's date is the version box's %s" % box_date,
                   "found %s" % sorted(dates))

    # The notice of the version box, the home page and the help page's examples.
    dialogs = dialog_texts(tessel)
    notices = [s for texts in dialogs if any(s.startswith("Ver ") for s in texts)
               for s in texts if re.search(r"Copyright|\(C\)", s)]
    if expect(len(notices) == 1, "Tessel's version box holds one notice", "found %s" % notices):
        expect(notices[0] in text, "the guide carries the notice %r" % notices[0])
    program_urls = set(u.decode() for u in re.findall(rb"https?://[\x21-\x7e]+?(?=\0)", tessel))
    guide_urls = set(re.findall(r"https?://[\x21-\x7e]+", text))
    expect(len(guide_urls) > 0 and guide_urls <= program_urls,
           "the guide's home page is Tessel's", "guide %s, program %s" % (sorted(guide_urls), sorted(program_urls)))
    examples = [s for texts in dialogs for s in texts if "→" in s]
    expect(len(examples) == 3, "Tessel's help page holds three examples", "found %d" % len(examples))
    for s in examples:
        expect(any(s in line for line in lines), "the guide carries the example %r" % s)
    return failed


def read_zip(path):
    with zipfile.ZipFile(path) as z:
        return {n: z.read(n) for n in z.namelist()}


zip_path = sys.argv[1]
members = read_zip(zip_path)
failures = 0


def report(ok, name, detail=""):
    global failures
    print(("PASS " if ok else "FAIL ") + name + ("" if ok or not detail else "  (" + detail + ")"))
    failures += 0 if ok else 1


needed = ("Tessel.txt", "Tessel.exe", "Perch.exe")
for n in needed:
    report(n in members, "the zip holds " + n)
if all(n in members for n in needed):
    guide, tessel, perch = members["Tessel.txt"], members["Tessel.exe"], members["Perch.exe"]
    name = os.path.basename(zip_path)
    failed = check_guide(guide, tessel, perch, name)
    for check, detail in failed:
        report(False, check, detail)
    report(not failed, "the guide agrees with the programs of the zip")

    # The checks must see a guide that is wrong. Each spoilt copy must fail.
    def spoil_version(g):
        return re.sub(rb"Ver (\d+)\.(\d+)", lambda m: b"Ver %s.%d" % (m.group(1), int(m.group(2)) + 1), g)

    def spoil_date(g):
        return re.sub(rb"\((\d{4})\.(\d{1,2})\)", lambda m: b"(%d.%s)" % (int(m.group(1)) + 1, m.group(2)), g)

    spoilt = {
        "a guide whose version is one more than the programs'": spoil_version(guide),
        "a guide whose date is a year later": spoil_date(guide),
        "a guide with one line ended by LF alone": guide.replace(b"\r\n", b"\n", 1),
        "a guide with a lone CR": guide.replace(b"\r\n", b"\r\r\n", 1),
        "a guide with a lead byte that no trail byte follows": guide + b"\x81\x0d\x0a",
        "a guide in UTF-8": guide.decode("cp932", errors="replace").encode("utf-8"),
        "a guide whose third example differs from the help page's": guide.replace(
            "　３）".encode("cp932"), "　３".encode("cp932")),
        "a guide with another home-page address": guide.replace(b"https://", b"https://www."),
        "a guide with a line of 72 columns": guide.replace(
            "■ 動作環境".encode("cp932"), "■ 動作環境".encode("cp932") + b"x" * 61, 1),
    }
    for what, g in spoilt.items():
        report(g != guide and len(check_guide(g, tessel, perch, name)) > 0, "the check refuses " + what)

if failures:
    print("check-guide: %d check(s) failed" % failures)
    sys.exit(1)
print("check-guide: all checks passed")
EOF
