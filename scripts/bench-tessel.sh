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
#   - the preview: choosing a photo in the conditions dialog to its picture
#     painted in the pane, for a small photo and for camera-like photos of
#     24, 50, 100 and 200 MP with a camera's thumbnail and without one;
#   - the log's own code taken apart per row (append, deletion of the first
#     row, insertion, scroll, repaint, Wine's redraw of the list's scroll bar,
#     the worker's cross-thread send);
#   - the rename runs and the log's steps again with Wine's classic look (its
#     theme switched off in the prefix for those runs only): Wine draws a
#     themed scroll bar in software each time the list brings its bars up to
#     date, and these figures show what is left without it.
# Usage: bench-tessel.sh [--guest] [build root]   (default ./build; builds the
# win64 targets it needs and the benchmark photos once). With --guest the
# i686 build of the same benchmark then runs in the emulated 32-bit PC too
# (needs the win32 tree: scripts/build.sh <root> win32).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
guest=0
if [ "${1:-}" = --guest ]; then guest=1; shift; fi
root=$(realpath -m "${1:-$top/build}")
rounds=${TESSEL_BENCH_ROUNDS:-5}

mkdir -p "$root"
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
"$top/scripts/make-test-photos.sh" "$photos" --camera
# The camera photos of 24 to 200 MP, each with its thumbnail and without.
cameras=()
for n in 24 50 100 200; do cameras+=("$photos/camera/camera-${n}mp-thumb.jpg" "$photos/camera/camera-${n}mp.jpg"); done

bin=$root/win64/bin
export WINEPREFIX="$root/win64/wineprefix"
"$top/scripts/wine-prefix.sh" "$WINEPREFIX"
work=$(mktemp -d "$root/bench-tessel.XXXXXX")
xvfb_pid=
# Wine's look: ThemeActive "1" (its default theme) or "0" (classic).
theme_key='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
theme_was=
set_theme() {
  /usr/lib/wine/wine64 reg add "$theme_key" /v ThemeActive /t REG_SZ /d "$1" /f > /dev/null 2>&1
}
cleanup() {
  if [ -n "$theme_was" ]; then set_theme "$theme_was"; /usr/lib/wine/wineserver -w; fi
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
mkdir "$work/real" "$work/classic" "$work/scan"


# The table of the rename figures, from lines "real N: elapsed E s, ... ratio R",
# "classic N: elapsed E s, ... ratio R" (the real program in the classic look)
# and "stub N: rename: elapsed E s, ... ratio R" on stdin.
summary() {
  awk '
    function ratio() { for (i = 1; i <= NF; i++) if ($i == "ratio") return $(i + 1) + 0 }
    /^real [0-9]+: elapsed/ { n = $2 + 0; re[n] = $4; rr[n] = ratio() }
    /^classic [0-9]+: elapsed/ { n = $2 + 0; ce[n] = $4; cr[n] = ratio() }
    /^stub [0-9]+: rename: elapsed/ { n = $2 + 0; se[n] = $5; sr[n] = ratio() }
    END {
      printf "%-6s %11s %11s %17s %14s %17s\n", "files", "real ratio", "stub ratio", "log cost ms/file",
        "classic ratio", "classic log cost"
      split("1000 60", order, " ")
      for (k = 1; k <= 2; k++) { n = order[k]; if (!(n in re) || !(n in se)) { printf "%-6d %11s\n", n, "missing"; continue }
        printf "%-6d %11.4f %11.4f %17.3f", n, rr[n], sr[n], (re[n] - se[n]) * 1000 / n
        if (n in ce) printf " %14.4f %17.3f", cr[n], (ce[n] - se[n]) * 1000 / n
        printf "\n" }
    }'
}

echo "== x86_64 build under wine64 on this machine"
log=$work/host.log
for n in 1000 60; do
  run "$bin/bench_tessel.exe" rename "$(winpath "$work/real")" "$n" "$(winpath "$small")" | tee -a "$log" || true
  mkdir "$work/stub-$n"
  (cd "$work/stub-$n" && seq -f 'PICT%04g.jpg' 1 "$n" | xargs touch)
  run "$bin/bench_rename.exe" "$(winpath "$work/stub-$n")" "$(winpath "$work/scan")" \
    | grep -E '^(rename|sleep):' | sed "s/^/stub $n: /" | tee -a "$log" || true
done
run "$bin/bench_tessel.exe" startup "$(winpath "$work")" "$rounds" || true
run "$bin/bench_tessel.exe" preview "$(winpath "$work")" "$rounds" "$(winpath "$small")" \
  $(for f in "${cameras[@]}"; do winpath "$f"; echo; done) || true
echo "== where a row's cost lies: the log's own code in one process, full list of 300"
run "$bin/bench_tessel.exe" log 200 || true
echo "== the same rename runs and log steps with Wine's classic look (theme off)"
theme_was=$(/usr/lib/wine/wine64 reg query "$theme_key" /v ThemeActive 2>/dev/null | tr -d '\r' \
  | awk '$1 == "ThemeActive" { print $3 }')
theme_was=${theme_was:-1}
set_theme 0
for n in 1000 60; do
  run "$bin/bench_tessel.exe" rename "$(winpath "$work/classic")" "$n" "$(winpath "$small")" \
    | sed 's/^real /classic /' | tee -a "$log" || true
done
run "$bin/bench_tessel.exe" log 200 | sed 's/^log:/classic log:/' || true
set_theme "$theme_was"
theme_was=
echo "== the log list's cost: the real program against the stub log, same files"
summary < "$log"

if [ "$guest" -eq 1 ]; then
  w32=$root/win32/bin
  for f in bench_tessel.exe bench_one_window.exe bench_rename.exe Tessel.exe keep_desktop.exe; do
    [ -f "$w32/$f" ] || { echo "bench-tessel: $w32/$f is missing; build first: scripts/build.sh $root win32" >&2; exit 1; }
  done
  . "$top/scripts/guest-lib.sh"
  bash "$top/scripts/guest-build.sh" "$root/guest"
  mkdir "$work/job"
  cp "$top/scripts/guest/job-bench-tessel.sh" "$work/job/job.sh"
  cp "$top/scripts/guest/wine-session.sh" "$w32"/{bench_tessel,bench_one_window,bench_rename,Tessel,keep_desktop}.exe \
    "$small" "${cameras[@]}" "$work/job/"
  guest_data_disk "$work/job" "$work/data.img" 384M
  echo "== i686 build (shipped) in the emulated 32-bit PC"
  guest_boot "$root/guest" "$root/guest/base.img" "$work/data.img" "$work/console.log" 2400 \
    || { tail -20 "$work/console.log" >&2; echo "bench-tessel: the guest run failed" >&2; exit 1; }
  tr -d '\r' < "$work/console.log" | sed -n 's/^TESSEL-BENCH: //p' | tee "$work/guest.log"
  echo "== the log list's cost in the emulated 32-bit PC"
  summary < "$work/guest.log"
fi
