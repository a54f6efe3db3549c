#!/usr/bin/env bash
# Builds Tessel and starts it under Wine. With $DISPLAY it opens there (in a
# Wine desktop window, so it has its caption); without one it runs on a
# private Xvfb, saves a screenshot of the main window and prints its path.
# With --shipped it starts the shipped 32-bit Tessel.exe (out of the zip) in
# the emulated 32-bit PC instead and saves a screenshot of it.
# Usage: scripts/run-tessel.sh [--shipped] [build root]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
shipped=0
if [ "${1:-}" = --shipped ]; then shipped=1; shift; fi
root=$(realpath -m "${1:-$top/build}")
cd "$top"
bash scripts/install-deps.sh
if [ "$shipped" -eq 1 ]; then
  bash scripts/build.sh "$root" win32
  exec bash scripts/guest-shot.sh "$root"
fi
bash scripts/build.sh "$root" win64 win32
export WINEPREFIX="$root/win64/wineprefix"
bash scripts/wine-prefix.sh "$WINEPREFIX"
. scripts/wine-env.sh

# Tessel keeps Tessel.ini beside itself: give it a folder of its own.
run="$root/run"
mkdir -p "$run"
cp "$root/win64/bin/Tessel.exe" "$run/"
exe=$(/usr/lib/wine/wine64 winepath -w "$run/Tessel.exe" 2>/dev/null)

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting Tessel on $DISPLAY (settings in $run/Tessel.ini)"
  exec /usr/lib/wine/wine64 explorer /desktop=Tessel,1024x768 "$exe"
fi

read -r display xvfb_pid < <(bash scripts/xvfb-start.sh 1024x768x24)
export DISPLAY=$display
cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT
/usr/lib/wine/wine64 explorer /desktop=Tessel,1024x768 "$exe" >/dev/null 2>&1 &
mkdir -p "$root/screenshots"
rect_file="$root/screenshots/main-window.rect"
rm -f "$rect_file"
/usr/lib/wine/wine64 explorer /desktop=Tessel,1024x768 "$root/win64/bin/window_rect.exe" TesselClass 30000 \
  "$(/usr/lib/wine/wine64 winepath -w "$rect_file" 2>/dev/null)" >/dev/null 2>&1 &
for _ in $(seq 1 400); do [ -s "$rect_file" ] && break; sleep 0.1; done
[ -s "$rect_file" ] || { echo "run-tessel: Tessel's window did not appear" >&2; exit 1; }
shot="$root/screenshots/main-window.png"
read -r x y w h < "$rect_file"
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"
echo "Tessel ran on a private display (no \$DISPLAY); screenshot of its main window: $shot"
