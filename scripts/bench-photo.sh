#!/usr/bin/env bash
# Benchmark of the photo area. Prints:
#  - the capture-date reader's time per file over 1,000 real JPEG files (the
#    exif_date tool: open, read the first 128 KB, parse), beside a floor
#    that only opens, reads and closes each file, and exiftool's and exiv2's
#    time for the same date on the same files, as ratios;
#  - the preview loader's time for a 24-megapixel JPEG under Wine
#    (LoadPreviewPicture into the 84 x 63 pane, median of 5 runs).
# Usage: bench-photo.sh [build root]   (default build/; builds what it needs)
set -euo pipefail
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
# Median wall time in nanoseconds of 5 runs of a command (output discarded).
median_ns() {
  local times=() t0 t1
  for _ in 1 2 3 4 5; do
    t0=$(now)
    "$@" >/dev/null 2>&1 || true
    t1=$(now)
    times+=($((t1 - t0)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}

# All three must read the same dates, or the comparison means nothing.
ours=$("$root/native/bin/exif_date" "${files[@]}" | awk '$1 == 1' | wc -l)
theirs=$(exiftool -q -q -s3 -fast2 -DateTimeOriginal "${files[@]}" | grep -c '^20' || true)
exiv=$(exiv2 -q -K Exif.Photo.DateTimeOriginal -Pv "${files[@]}" 2>/dev/null | grep -c ' 20' || true)
echo "dates found: exif_date $ours, exiftool $theirs, exiv2 $exiv of $count files"

t_floor=$(median_ns "$root/native/bin/exif_date" --floor "${files[@]}")
t_ours=$(median_ns "$root/native/bin/exif_date" "${files[@]}")
t_exiftool=$(median_ns exiftool -q -q -s3 -fast2 -DateTimeOriginal "${files[@]}")
t_exiv2=$(median_ns exiv2 -q -K Exif.Photo.DateTimeOriginal -Pv "${files[@]}")
awk -v n="$count" -v f="$t_floor" -v a="$t_ours" -v b="$t_exiftool" -v c="$t_exiv2" 'BEGIN {
  printf "capture date, %d files, one process each, median of 5 runs:\n", n
  printf "  floor      %8.2f us per file  (open, read the first 128 KB, close)\n", f / n / 1000
  printf "  exif_date  %8.2f us per file  (%.2f x the floor)\n", a / n / 1000, a / f
  printf "  exiftool   %8.2f us per file  (%.1f x exif_date)\n", b / n / 1000, b / a
  printf "  exiv2      %8.2f us per file  (%.1f x exif_date)\n", c / n / 1000, c / a
}'

echo "== preview of a 24-megapixel JPEG under Wine"
prefix=$root/win64/wineprefix
"$top/scripts/wine-prefix.sh" "$prefix"
xpid=
if [ -z "${DISPLAY:-}" ]; then
  read -r d xpid < <("$top/scripts/xvfb-start.sh")
  export DISPLAY=$d
fi
identify -format 'photo-24mp.jpg: %wx%h, %b\n' "$photos/photo-24mp.jpg"
set +e
WINEPREFIX=$prefix "$top/scripts/wine-run.sh" "$root/win64/bin/preview_bench.exe" \
  "Z:${photos//\//\\}\\photo-24mp.jpg" 5
status=$?
set -e
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
[ -n "$xpid" ] && kill "$xpid" 2>/dev/null
exit $status
