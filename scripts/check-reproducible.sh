#!/usr/bin/env bash
# Checks that the shipped files are the same bytes whoever builds them and
# whenever: the i686 product (Tessel.exe, Perch.exe, the zip and SHA256SUMS)
# is built twice from the same sources, in two checkouts at different paths,
# under different clocks, time zones, locales and umasks, without
# SOURCE_DATE_EPOCH, and the results are compared byte for byte, and with the
# zip of the given tree when that tree was built from the same commit. Also
# checks that the time stamps are those of the last commit, that no build
# path is left in the programs, and that a changed SOURCE_DATE_EPOCH reaches
# the PE header and the zip on an incremental build.
# Usage: check-reproducible.sh [<build root>/win32]
# Prints one PASS or FAIL line per check; exits 1 when any check fails.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
tree=${1:-}
start=$(date +%s)
failures=0
pass() { echo "PASS $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { local name=$1; shift; if "$@"; then pass "$name"; else fail "$name"; fi; }

a=$(mktemp -d /tmp/repro-a-XXXXXX)
b=$(mktemp -d /tmp/repro-b-XXXXXX)
trap 'rm -rf "$a" "$b"' EXIT
src_a=$a/src
src_b=$b/deeper/checkout/src

# One snapshot of the sources as they stand (the last commit plus changes not
# yet committed), as a git checkout of that commit, then a copy of it.
snapshot() {
  local dest=$1 head
  if git -C "$top" rev-parse --verify -q HEAD > /dev/null; then
    head=$(git -C "$top" rev-parse HEAD)
    git clone -q --shared --no-checkout "$top" "$dest" &&
      git -C "$dest" checkout -q --detach "$head" || return 1
    (cd "$top" && git ls-files -z --cached --others --exclude-standard |
      tar --null --ignore-failed-read -cf - -T - 2> /dev/null) | tar -xf - -C "$dest" || return 1
    (cd "$top" && git ls-files -z --deleted) | (cd "$dest" && xargs -0 -r rm -f)
  else
    mkdir -p "$dest" &&
      (cd "$top" && tar --exclude='./build' --exclude='./build-*' -cf - .) | tar -xf - -C "$dest"
  fi
}

# build <source> <build folder> [command prefix...]: the product targets only.
build() {
  local src=$1 out=$2; shift 2
  "$@" cmake -S "$src" -B "$out" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-i686.cmake" -DTESSEL_BUILD_TESTS=OFF \
    > "$out.configure.log" 2>&1 &&
    "$@" cmake --build "$out" -j 2 --target dist > "$out.log" 2>&1 ||
    { tail -30 "$out.configure.log" "$out.log" >&2; return 1; }
}

check "sources copied to $src_a" snapshot "$src_a"
mkdir -p "$(dirname "$src_b")" && cp -a "$src_a" "$src_b"

# Build A: UTC, C locale, umask 022, the real clock.
check "build A in $a" build "$src_a" "$a/build" \
  env -u SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C bash -c 'umask 022; exec "$@"' build-a
# Build B: another zone, locale and umask; a clock 1000.3 days (and 7.2 hours) ahead.
clock=(env)
if command -v faketime > /dev/null; then
  clock=(faketime -f '+1000.3d')
else
  echo "NOTE faketime is missing: build B runs on the real clock, after build A"
fi
check "build B in $b/deeper (clock: ${clock[*]})" build "$src_b" "$b/build" \
  env -u SOURCE_DATE_EPOCH TZ=Asia/Tokyo LANG=ja_JP.UTF-8 "${clock[@]}" bash -c 'umask 077; exec "$@"' build-b

zip_a=$(ls "$a"/build/Tessel-*.zip 2> /dev/null | head -1)
zip_b=$(ls "$b"/build/Tessel-*.zip 2> /dev/null | head -1)
name=$(basename "${zip_a:-none}")
same() { [ -f "$1" ] && [ -f "$2" ] && cmp -s "$1" "$2"; }
for f in dist/Tessel.exe dist/Perch.exe dist/Perch.inf dist/Tessel.txt "$name" SHA256SUMS; do
  check "$f is the same bytes in both builds" same "$a/build/$f" "$b/build/$f"
  for side in a b; do
    root=$a; [ $side = b ] && root=$b
    [ -f "$root/build/$f" ] && echo "  $side $(sha256sum "$root/build/$f" | cut -d' ' -f1)  $f"
  done
done

# The time stamps are those of the last commit, not of either clock.
if git -C "$src_a" rev-parse -q --verify HEAD > /dev/null; then
  epoch=$(git -C "$src_a" log -1 --format=%ct)
else
  epoch=1351728000
fi
stamps_are() {  # stamps_are <build folder> <epoch>: PE headers and zip entries
  python3 - "$1" "$2" <<'EOF'
import glob, struct, sys, time, zipfile
out, epoch = sys.argv[1], int(sys.argv[2])
ok = True
for exe in ("Tessel.exe", "Perch.exe"):
    pe = open("%s/dist/%s" % (out, exe), "rb").read()
    off = struct.unpack_from("<I", pe, 0x3C)[0]
    stamp = struct.unpack_from("<I", pe, off + 8)[0]
    if stamp != epoch:
        print("  %s PE time stamp %d, not %d" % (exe, stamp, epoch), file=sys.stderr)
        ok = False
want = time.gmtime(max(epoch, 315532800))[:6]
want = want[:5] + (want[5] // 2 * 2,)
for info in zipfile.ZipFile(glob.glob(out + "/Tessel-*.zip")[0]).infolist():
    if info.date_time != want or info.extra:
        print("  %s in the zip: %s extra %r, not %s" % (info.filename, info.date_time, info.extra, want),
              file=sys.stderr)
        ok = False
sys.exit(0 if ok else 1)
EOF
}
check "PE time stamps and zip times are the last commit's ($epoch) in build B" stamps_are "$b/build" "$epoch"

no_build_paths() {
  local exe hit=0
  for exe in "$a"/build/dist/*.exe "$b"/build/dist/*.exe; do
    if strings -a "$exe" | grep -E -e "$a|$b|/tmp/repro|$top" > /dev/null ||
       strings -a -el "$exe" | grep -E -e "$a|$b|/tmp/repro|$top" > /dev/null; then
      echo "  $exe holds a build path" >&2
      hit=1
    fi
  done
  return $hit
}
check "no source or build path in the programs" no_build_paths

# The tree given: the same zip when built from the same commit.
if [ -n "$tree" ] && zip_t=$(ls "$tree"/Tessel-*.zip 2> /dev/null | head -1) && [ -n "$zip_t" ]; then
  if [ "$(cat "$tree/source-epoch.txt" 2> /dev/null)" = "$epoch" ]; then
    check "$zip_t is the same bytes as both builds' zip" same "$zip_t" "$zip_a"
    same "$zip_t" "$zip_a" || for m in $(unzip -Z1 "$zip_a"); do
      cmp -s <(unzip -p "$zip_t" "$m") <(unzip -p "$zip_a" "$m") || echo "  $m differs in $zip_t" >&2
    done
  else
    echo "NOTE $tree was built from another commit than the sources now: its zip is not compared"
  fi
fi

# SOURCE_DATE_EPOCH, when set, wins; an incremental build relinks and re-zips.
later=1354320000
check "an incremental build with SOURCE_DATE_EPOCH=$later stamps it" bash -c \
  "SOURCE_DATE_EPOCH=$later cmake --build '$b/build' -j 2 --target dist > '$b/build.again.log' 2>&1"
check "PE time stamps and zip times follow SOURCE_DATE_EPOCH ($later)" stamps_are "$b/build" "$later"

echo "check-reproducible: $(( $(date +%s) - start )) s"
if [ "$failures" -gt 0 ]; then
  echo "check-reproducible: $failures check(s) failed"
  exit 1
fi
echo "check-reproducible: all checks passed"
