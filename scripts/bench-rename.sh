#!/usr/bin/env bash
# Benchmark of the rename engine under Wine; prints figures, is not a test.
#   - renames 1,000 generated files and compares the elapsed time with the
#     floor that the pauses impose (1,000 x 50 ms) as a ratio;
#   - times the source folder scan over a folder of 20,000 entries.
# Usage: bench-rename.sh [build root]   (default ./build; needs its win64 tree)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
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
"$top/scripts/wine-run.sh" "$exe" "$(winpath "$work/rename")" "$(winpath "$work/scan")"
