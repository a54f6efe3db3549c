#!/usr/bin/env bash
# Benchmark of the photo area. Prints:
#  - the capture-date reader's time per file over 1,000 real JPEG files (the
#    exif_date tool: open, read the first 128 KB, parse), beside a floor
#    that only opens, reads and closes each file, the two timed in turn
#    (floor, reader, floor, reader, ...) over 11 rounds and compared by their
#    minima; a reader faster than its floor is a measuring fault, said so,
#    not a result; and exiftool's and exiv2's time for the same date on the
#    same files (minima of 5 runs), as ratios;
#  - the preview loader's time (LoadPreviewPicture, the choice to the
#    bitmap) for camera-like photos of 24 to 200 MP, with a camera's
#    thumbnail and without, in the pane at 96, 144 and 192 dpi, under Wine.
# Usage: bench-photo.sh [--guest] [build root]   (default build/; builds what
# it needs). With --guest the i686 build of the preview benchmark runs in the
# emulated 32-bit PC as well.
set -euo pipefail
guest=0
if [ "${1:-}" = --guest ]; then guest=1; shift; fi
top=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "${1:-$top/build}")
for tool in exiftool exiv2 convert; do
  command -v $tool >/dev/null || { echo "bench-photo: $tool missing (scripts/install-deps.sh)" >&2; exit 1; }
done

echo "== building exif_date (native) and preview_bench (win64) in $root"
cmake -S "$top" -B "$root/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/native" -j "${TESSEL_JOBS:-2}" --target exif_date >/dev/null
cmake -S "$top" -B "$root/win64" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake" >/dev/null
cmake --build "$root/win64" -j "${TESSEL_JOBS:-2}" --target preview_bench >/dev/null

photos=$root/bench-photos
echo "== making the benchmark photos in $photos (once)"
"$top/scripts/make-test-photos.sh" "$photos" --bench
files=("$photos"/bench/*.jpg)
count=${#files[@]}

now() { date +%s%N; }
# Wall time in nanoseconds of one run of a command (output discarded).
time_ns() {
  local t0 t1
  t0=$(now)
  "$@" >/dev/null 2>&1 || true
  t1=$(now)
  echo $((t1 - t0))
}
# The least of the numbers on stdin, one a line.
least() { sort -n | head -1; }

# All three must read the same dates, or the comparison means nothing.
ours=$("$root/native/bin/exif_date" "${files[@]}" | awk '$1 == 1' | wc -l)
theirs=$(exiftool -q -q -s3 -fast2 -DateTimeOriginal "${files[@]}" | grep -c '^20' || true)
exiv=$(exiv2 -q -K Exif.Photo.DateTimeOriginal -Pv "${files[@]}" 2>/dev/null | grep -c ' 20' || true)
echo "dates found: exif_date $ours, exiftool $theirs, exiv2 $exiv of $count files"

# The floor and the reader in turn, so that whatever the machine does
# meanwhile (caches, clocks, the other workers) falls on both alike; the
# minimum is each one's least disturbed run.
rounds=11
floor_runs=() ours_runs=()
for _ in $(seq 1 $rounds); do
  floor_runs+=("$(time_ns "$root/native/bin/exif_date" --floor "${files[@]}")")
  ours_runs+=("$(time_ns "$root/native/bin/exif_date" "${files[@]}")")
done
t_floor=$(printf '%s\n' "${floor_runs[@]}" | least)
t_ours=$(printf '%s\n' "${ours_runs[@]}" | least)
tool_runs=() exiv_runs=()
for _ in 1 2 3 4 5; do
  tool_runs+=("$(time_ns exiftool -q -q -s3 -fast2 -DateTimeOriginal "${files[@]}")")
  exiv_runs+=("$(time_ns exiv2 -q -K Exif.Photo.DateTimeOriginal -Pv "${files[@]}")")
done
t_exiftool=$(printf '%s\n' "${tool_runs[@]}" | least)
t_exiv2=$(printf '%s\n' "${exiv_runs[@]}" | least)
awk -v n="$count" -v r="$rounds" -v f="$t_floor" -v a="$t_ours" -v b="$t_exiftool" -v c="$t_exiv2" 'BEGIN {
  printf "capture date, %d files, one process each; floor and exif_date in turn, minima of %d rounds:\n", n, r
  printf "  floor      %8.2f us per file  (open, read the first 128 KB, close)\n", f / n / 1000
  if (a >= f) printf "  exif_date  %8.2f us per file  (%.2f x the floor)\n", a / n / 1000, a / f
  else printf "  exif_date  %8.2f us per file  MEASURING FAULT: %.2f x the floor, below the work it bounds; no result\n", a / n / 1000, a / f
  printf "  exiftool   %8.2f us per file  (%.1f x exif_date, minimum of 5 runs)\n", b / n / 1000, b / a
  printf "  exiv2      %8.2f us per file  (%.1f x exif_date, minimum of 5 runs)\n", c / n / 1000, c / a
}'

# The preview: camera-like photos of 24, 50, 100 and 200 MP, each with a
# camera's 160 x 120 thumbnail and without one (which takes the whole decode
# the loader has always done), in the pane of 96, 144 and 192 dpi (the
# dialog's 56 x 42 units: 84 x 63, 126 x 94 and 168 x 126 pixels).
echo "== making the camera photos in $photos/camera (once)"
"$top/scripts/make-test-photos.sh" "$photos" --camera
plan=$root/preview-plan.txt
for n in 24 50 100 200; do
  for kind in thumb whole; do
    file=camera-${n}mp.jpg
    [ $kind = whole ] || file=camera-${n}mp-thumb.jpg
    for dpi in 96 144 192; do
      echo "${n}mp $kind $dpi $file $((84 * dpi / 96)) $((63 * dpi / 96))"
    done
  done
done > "$plan"
for f in "$photos"/camera/camera-*mp.jpg; do
  identify -format "$(basename "$f"): %wx%h, %b\n" "$f" 2>/dev/null || echo "$(basename "$f"): $(stat -c %s "$f") bytes"
done

# The figures of lines "<N>mp <kind> <dpi>: ... median M ms ..." or
# "<N>mp <kind> <dpi>: refused: ..." on stdin, thumbnail beside whole decode.
preview_table() {
  awk '
    /^[0-9]+mp (thumb|whole) [0-9]+:/ {
      key = $1 " " $3; sub(":", "", key)
      v = "refused"
      for (i = 1; i <= NF; i++) if ($i == "median") v = $(i + 1)
      t[$2 " " key] = v; sizes[$1] = 1
    }
    END {
      printf "%-6s %5s %12s %12s %8s\n", "photo", "dpi", "thumb ms", "whole ms", "ratio"
      split("24mp 50mp 100mp 200mp", order, " ")
      for (k = 1; k <= 4; k++) for (d = 96; d <= 192; d += 48) {
        a = t["thumb " order[k] " " d]; b = t["whole " order[k] " " d]
        r = (a + 0 > 0 && b + 0 > 0) ? sprintf("%.3f", a / b) : "-"
        printf "%-6s %5d %12s %12s %8s\n", order[k], d, a, b, r
      }
    }'
}

echo "== the preview under wine64 (x86_64 build), median of 3 runs"
prefix=$root/win64/wineprefix
"$top/scripts/wine-prefix.sh" "$prefix"
xpid=
if [ -z "${DISPLAY:-}" ]; then
  read -r d xpid < <("$top/scripts/xvfb-start.sh")
  export DISPLAY=$d
fi
while read -r n kind dpi file w h; do
  line=$(WINEPREFIX=$prefix "$top/scripts/wine-run.sh" "$root/win64/bin/preview_bench.exe" \
    "Z:${photos//\//\\}\\camera\\$file" 3 "$w" "$h" < /dev/null | tr -d '\r' | grep -E '^(picture|refused)')
  echo "$n $kind $dpi: $line"
done < "$plan" | tee "$root/preview-host.log"
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
[ -n "$xpid" ] && kill "$xpid" 2>/dev/null
preview_table < "$root/preview-host.log"

if [ "$guest" -eq 1 ]; then
  exe32=$root/win32/bin/preview_bench.exe
  cmake -S "$top" -B "$root/win32" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686.cmake" >/dev/null
  cmake --build "$root/win32" -j "${TESSEL_JOBS:-2}" --target preview_bench keep_desktop >/dev/null
  . "$top/scripts/guest-lib.sh"
  bash "$top/scripts/guest-build.sh" "$root/guest"
  work=$(mktemp -d "$root/bench-photo.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  mkdir "$work/job"
  cp "$top/scripts/guest/job-bench-photo.sh" "$work/job/job.sh"
  cp "$top/scripts/guest/wine-session.sh" "$exe32" "$root/win32/bin/keep_desktop.exe" "$plan" \
    "$photos"/camera/camera-*.jpg "$work/job/"
  guest_data_disk "$work/job" "$work/data.img" 256M
  echo "== the preview in the emulated 32-bit PC (shipped i686 build), median of 3 runs"
  guest_boot "$root/guest" "$root/guest/base.img" "$work/data.img" "$work/console.log" 3600 \
    || { tail -20 "$work/console.log" >&2; echo "bench-photo: the guest run failed" >&2; exit 1; }
  tr -d '\r' < "$work/console.log" | sed -n 's/^TESSEL-BENCH: //p' | tee "$root/preview-guest.log"
  preview_table < "$root/preview-guest.log"
fi
