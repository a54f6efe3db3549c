#!/usr/bin/env bash
# Benchmark of the real Tessel.exe under Wine; prints figures, is not a test.
#   - a rename job over 1,000 and over 60 generated files, committed through
#     the conditions dialog as a user does, timed from the confirmation's OK
#     to the run's end row "リネーム終了" against the floor that the pauses set
#     (1,000 x 50 ms; 60 x 50 ms), as a ratio; beside it the rename benchmark
#     with a stub log (bench_rename, no list) over the same numbers of files,
#     and the difference per file: what the log list costs;
#   - start-up: starting Tessel.exe to its painted main window, against a
#     program that opens one window, as a ratio;
#   - the preview: choosing a 24-megapixel JPEG in the conditions dialog to
#     its picture painted in the pane (and a small photo for comparison);
#   - the log's own code taken apart per row (append, deletion of the first
#     row, insertion, scroll, repaint, the worker's cross-thread send).
# Usage: bench-tessel.sh [build root]   (default ./build; builds the win64
# targets it needs and the benchmark photos once)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "${1:-$top/build}")
rounds=${TESSEL_BENCH_ROUNDS:-5}

echo "== building Tessel, bench_tessel, bench_one_window, bench_rename (win64) in $root"
cmake -S "$top" -B "$root/win64" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake" > "$root/bench-tessel.configure.log" 2>&1 \
  || { cat "$root/bench-tessel.configure.log" >&2; exit 1; }
cmake --build "$root/win64" -j "${TESSEL_JOBS:-2}" \
  --target Tessel bench_tessel bench_one_window bench_rename photo_test_files \
  > "$root/bench-tessel.build.log" 2>&1 || { tail -40 "$root/bench-tessel.build.log" >&2; exit 1; }
photos=$root/bench-photos
echo "== making the benchmark photos in $photos (once)"
"$top/scripts/make-test-photos.sh" "$photos" --bench

bin=$root/win64/bin
export WINEPREFIX="$root/win64/wineprefix"
"$top/scripts/wine-prefix.sh" "$WINEPREFIX"
work=$(mktemp -d "$root/bench-tessel.XXXXXX")
xvfb_pid=
cleanup() {
  WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# Always a private display: nothing else draws while the figures are taken.
read -r display xvfb_pid < <("$top/scripts/xvfb-start.sh")
export DISPLAY=$display

# Wine's drive Z: is the Unix root.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
run() { "$top/scripts/wine-run.sh" "$@" | tr -d '\r'; }
small=$root/win64/test-photos/camera-ii.jpg
mkdir "$work/real" "$work/scan"

echo "== x86_64 build under wine64 on this machine"
declare -A real stub
for n in 1000 60; do
  out=$(run "$bin/bench_tessel.exe" rename "$(winpath "$work/real")" "$n" "$(winpath "$small")") || true
  printf '%s\n' "$out"
  real[$n]=$(printf '%s\n' "$out" | sed -n "s/^real $n: elapsed \([0-9.]*\) s.*ratio \([0-9.]*\).*/\1 \2/p")
  mkdir "$work/stub-$n"
  (cd "$work/stub-$n" && seq -f 'PICT%04g.jpg' 1 "$n" | xargs touch)
  out=$(run "$bin/bench_rename.exe" "$(winpath "$work/stub-$n")" "$(winpath "$work/scan")") || true
  printf '%s\n' "$out" | sed -n "s/^/stub $n: /; /rename:\|sleep:/p"
  stub[$n]=$(printf '%s\n' "$out" | sed -n 's/^rename: elapsed \([0-9.]*\) s.*ratio \([0-9.]*\).*/\1 \2/p')
done

run "$bin/bench_tessel.exe" startup "$(winpath "$work")" "$rounds" || true
run "$bin/bench_tessel.exe" preview "$(winpath "$work")" "$rounds" \
  "$(winpath "$photos/photo-24mp.jpg")" "$(winpath "$small")"

echo "== where a row's cost lies: the log's own code in one process, full list of 300"
run "$bin/bench_tessel.exe" log 1000 || true

echo "== the log list's cost (real program against the stub log, same files)"
printf '%-6s %12s %12s %18s\n' files "real ratio" "stub ratio" "log cost ms/file"
for n in 1000 60; do
  read -r re rr <<< "${real[$n]:-0 0}"
  read -r se sr <<< "${stub[$n]:-0 0}"
  awk -v n="$n" -v re="$re" -v rr="$rr" -v se="$se" -v sr="$sr" \
    'BEGIN { printf "%-6d %12.4f %12.4f %18.3f\n", n, rr, sr, (re - se) * 1000 / n }'
done
