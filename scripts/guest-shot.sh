#!/usr/bin/env bash
# Starts the shipped 32-bit Tessel.exe in the emulated 32-bit PC and saves a
# screenshot of its main window: <build root>/screenshots/shipped-main-window.png.
# Usage: guest-shot.sh [build root]   (the i686 tree must be built)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(realpath -m "${1:-$here/../build}")
tree=$root/win32
. "$here/guest-lib.sh"
bash "$here/guest-build.sh" "$root/guest"
work=$root/guest-shot
rm -rf "$work" && mkdir -p "$work/job" "$root/screenshots"
cp "$here/guest/job-shot.sh" "$work/job/job.sh"
cp "$here/guest/wine-session.sh" "$tree/bin/window_rect.exe" "$tree"/Tessel-*.zip "$work/job/"
zip=$(ls "$tree"/Tessel-*.zip)
for member in $(unzip -Z1 "$zip"); do
  echo "$(unzip -p "$zip" "$member" | sha256sum | cut -d' ' -f1)  $member"
done > "$work/job/zip.sha256"
guest_data_disk "$work/job" "$work/data.img" 256M
echo "Starting the shipped Tessel.exe in the emulated 32-bit PC"
if ! guest_boot "$root/guest" "$root/guest/base.img" "$work/data.img" "$work/console.log" 600; then
  tail -20 "$work/console.log" >&2
  echo "guest-shot: the guest did not finish" >&2
  exit 1
fi
debugfs -R "dump /rect.txt $work/rect.txt" "$work/data.img" > /dev/null 2>&1
debugfs -R "dump /screen.xwd $work/screen.xwd" "$work/data.img" > /dev/null 2>&1
[ -s "$work/rect.txt" ] && [ -s "$work/screen.xwd" ] || {
  tr -d '\r' < "$work/console.log" | grep TESSEL- >&2
  echo "guest-shot: Tessel's window did not appear" >&2
  exit 1
}
read -r x y w h < "$work/rect.txt"
shot=$root/screenshots/shipped-main-window.png
convert "xwd:$work/screen.xwd" -crop "${w}x${h}+${x}+${y}" +repage "$shot"
rm -f "$work/data.img"
echo "The shipped 32-bit Tessel.exe ran in the emulated 32-bit PC; screenshot of its main window: $shot"
