#!/usr/bin/env bash
# Benchmark of the rename engine under Wine; prints figures, is not a test.
#   - renames 1,000 generated files and compares the elapsed time with the
#     floor that the pauses impose (1,000 x 50 ms) as a ratio;
#   - times the source folder scan over a folder of 20,000 entries.
# Usage: bench-rename.sh [--guest] [build root]   (default ./build; needs its
# win64 tree). With --guest the i686 build of the same benchmark then runs in
# the emulated 32-bit PC too (needs the win32 tree), and both are printed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
guest=0
if [ "${1:-}" = --guest ]; then guest=1; shift; fi
root=$(realpath -m "${1:-$top/build}")
exe="$root/win64/bin/bench_rename.exe"
if [ ! -f "$exe" ]; then
  echo "bench-rename: $exe is missing; build first: scripts/build.sh $root win64" >&2
  exit 1
fi
export WINEPREFIX="$root/win64/wineprefix"
"$top/scripts/wine-prefix.sh" "$WINEPREFIX"

work=$(mktemp -d "$root/bench-rename.XXXXXX")
xvfb_pid=
cleanup() {
  WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  read -r display xvfb_pid < <("$top/scripts/xvfb-start.sh")
  export DISPLAY=$display
fi

mkdir "$work/rename" "$work/scan"
(cd "$work/rename" && seq -f 'PICT%04g.jpg' 1 1000 | xargs touch)
(cd "$work/scan" && seq -f 'PICT%05g.jpg' 1 20000 | xargs touch)

# Wine's drive Z: is the Unix root.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
echo "== x86_64 build under wine64 on this machine"
"$top/scripts/wine-run.sh" "$exe" "$(winpath "$work/rename")" "$(winpath "$work/scan")"

if [ "$guest" -eq 1 ]; then
  exe32="$root/win32/bin/bench_rename.exe"
  [ -f "$exe32" ] || { echo "bench-rename: $exe32 is missing; build first: scripts/build.sh $root win32" >&2; exit 1; }
  . "$top/scripts/guest-lib.sh"
  bash "$top/scripts/guest-build.sh" "$root/guest"
  mkdir "$work/job"
  cp "$top/scripts/guest/job-bench.sh" "$work/job/job.sh"
  cp "$top/scripts/guest/wine-session.sh" "$exe32" "$root/win32/bin/keep_desktop.exe" "$work/job/"
  guest_data_disk "$work/job" "$work/data.img" 64M
  echo "== i686 build (shipped) in the emulated 32-bit PC"
  guest_boot "$root/guest" "$root/guest/base.img" "$work/data.img" "$work/console.log" 900 \
    || { tail -20 "$work/console.log" >&2; echo "bench-rename: the guest run failed" >&2; exit 1; }
  tr -d '\r' < "$work/console.log" | sed -n 's/^TESSEL-BENCH: //p'
fi
