#!/usr/bin/env bash
# Takes the pictures of the conditions dialog (with a photo chosen and its
# preview shown) and of its three sub-dialogs into docs/screenshots/
# (conditions.png, date-layout.png, history.png, confirm.png), in a Wine
# desktop on a private Xvfb. Usage: scripts/shoot-conditions.sh [build root]
# (the win64 tree built first, conditions_screens included).
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
for tool in convert exiftool import xdotool; do
  command -v $tool >/dev/null || { echo "shoot-conditions: $tool missing (scripts/install-deps.sh)" >&2; exit 1; }
done

work="$root/conditions-shots"
rm -rf "$work"
mkdir -p "$work/photos"
cp "$bin/Tessel.exe" "$work/"
# The first help example: PICT0100..PICT0120, taken on 2 May 2011, with a
# picture that shows in the preview.
convert -size 640x480 plasma:fractal -seed 11 -quality 85 "$work/photo.jpg" 2>/dev/null \
  || convert -size 640x480 gradient:skyblue-darkgreen -quality 85 "$work/photo.jpg"
exiftool -q -overwrite_original '-DateTimeOriginal=2011:05:02 10:15:30' "$work/photo.jpg"
for n in $(seq 100 120); do cp "$work/photo.jpg" "$work/photos/PICT0$n.jpg"; done

read -r display xvfb_pid < <(bash "$top/scripts/xvfb-start.sh" 1024x768x24)
export DISPLAY=$display
cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

winwork=$("$wine" winepath -w "$work" 2>/dev/null)
"$wine" explorer /desktop=Shot,1024x768 "$("$wine" winepath -w "$bin/conditions_screens.exe" 2>/dev/null)" \
  "$winwork" >"$work/screens.log" 2>&1 &
screens=$!
for name in conditions date-layout history confirm; do
  for _ in $(seq 1 600); do [ -s "$work/$name.rect" ] && break; sleep 0.1; done
  [ -s "$work/$name.rect" ] || { echo "shoot-conditions: no $name dialog" >&2; cat "$work/screens.log" >&2; exit 1; }
  xdotool mousemove 1000 740
  read -r x y w h < "$work/$name.rect"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$name.png"
  echo "$out/$name.png (${w}x${h})"
  touch "$work/$name.done"
done
for _ in $(seq 1 100); do kill -0 "$screens" 2>/dev/null || break; sleep 0.1; done
