#!/usr/bin/env bash
# Takes the pictures of Perch's window and of Tessel's three help dialogs
# into docs/screenshots/ (perch.png, help-usage.png, help-homepage.png,
# help-version.png), each program in a Wine desktop on a private Xvfb.
# Usage: scripts/shoot-perch-help.sh [build root]   (win64 tree built first)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "${1:-$top/build}")
out="$top/docs/screenshots"
mkdir -p "$out"
export WINEPREFIX="$root/win64/wineprefix"
bash "$top/scripts/wine-prefix.sh" "$WINEPREFIX"
. "$top/scripts/wine-env.sh"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
wine=/usr/lib/wine/wine64
bin="$root/win64/bin"

read -r display xvfb_pid < <(bash "$top/scripts/xvfb-start.sh" 1024x768x24)
export DISPLAY=$display
cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

work="$root/screenshots-work"
rm -rf "$work"
mkdir -p "$work/perch" "$work/tessel"
winpath() { "$wine" winepath -w "$1" 2>/dev/null; }

# Starts a program in a Wine desktop, waits for a window of `class`, moves the
# pointer away and saves that window's picture.
shoot() {  # shoot <exe> <class> <png> [keys...]
  local exe=$1 class=$2 png=$3; shift 3
  local rect="$work/rect.txt"
  rm -f "$rect"
  "$wine" explorer /desktop=Shot,1024x768 "$(winpath "$exe")" >/dev/null 2>&1 &
  if [ $# -gt 0 ]; then
    "$wine" explorer /desktop=Shot,1024x768 "$(winpath "$bin/window_rect.exe")" TesselClass 30000 \
      "$(winpath "$rect")" >/dev/null 2>&1 &
    for _ in $(seq 1 300); do [ -s "$rect" ] && break; sleep 0.1; done
    rm -f "$rect"
    xdotool key --delay 150 "$@"
  fi
  "$wine" explorer /desktop=Shot,1024x768 "$(winpath "$bin/window_rect.exe")" "$class" 30000 \
    "$(winpath "$rect")" >/dev/null 2>&1 &
  xdotool mousemove 1000 740
  for _ in $(seq 1 300); do [ -s "$rect" ] && break; sleep 0.1; done
  [ -s "$rect" ] || { echo "shoot: no $class window for $png" >&2; exit 1; }
  read -r x y w h < "$rect"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$png"
  echo "$out/$png (${w}x${h})"
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  sleep 1
}

# Perch beside its target, as in the shipped folder.
cp "$bin/Perch.exe" "$bin/Tessel.exe" "$work/perch/"
sed 's/$/\r/' "$top/resources/Perch.inf.in" | iconv -f UTF-8 -t CP932 > "$work/perch/Perch.inf"
shoot "$work/perch/Perch.exe" PerchClass perch.png

# The Help menu is the third on the bar: F10, two to the right, then down.
cp "$bin/Tessel.exe" "$work/tessel/"
shoot "$work/tessel/Tessel.exe" '#32770' help-usage.png F10 Right Right Down Return
shoot "$work/tessel/Tessel.exe" '#32770' help-homepage.png F10 Right Right Down Down Return
shoot "$work/tessel/Tessel.exe" '#32770' help-version.png F10 Right Right Down Down Down Return
