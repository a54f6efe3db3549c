#!/usr/bin/env bash
# Builds everything (native, x86_64 and i686) and runs every test: native unit
# tests, Windows tests and end-to-end tests under wine64 on a private Xvfb,
# the same Windows tests of the i686 build in the emulated 32-bit PC against
# the shipped programs, the short fuzz pass and the shipped-folder checks.
# Ends with the line "N passed, M failed, K skipped".
# Usage: scripts/test.sh [build root]
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "${1:-$top/build}")
cd "$top"

bash scripts/install-deps.sh || { echo "0 passed, 1 failed, 0 skipped"; exit 1; }
bash scripts/build.sh "$root" native win64 win32 || { echo "0 passed, 1 failed, 0 skipped"; exit 1; }

checks="$root/checks.txt"
: > "$checks"
check() {  # check <name> <command...>: one counted case from a script check
  local name=$1; shift
  if "$@" >> "$root/checks.log" 2>&1; then echo "PASS $name" >> "$checks"; else echo "FAIL $name" >> "$checks"; fi
}

export WINEPREFIX="$root/win64/wineprefix"
bash scripts/wine-prefix.sh "$WINEPREFIX"
read -r display xvfb_pid < <(bash scripts/xvfb-start.sh 1280x1024x24)
export DISPLAY=$display
cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

run_ctest() {  # run_ctest <tree>: runs its tests, notes which programs ran
  local tree=$1
  rm -rf "$tree/test-results" && mkdir -p "$tree/test-results"
  ctest --test-dir "$tree" -N | sed -n 's/^ *Test *#[0-9]*: //p' > "$tree/ctest-ran.txt"
  echo "== running $(wc -l < "$tree/ctest-ran.txt") test programs in $(basename "$tree")"
  ctest --test-dir "$tree" --output-on-failure -j1 2>&1 | tail -n 200 > "$tree/ctest.log"
  grep -E '^ *[0-9]+/[0-9]+ Test' "$tree/ctest.log" || true
}
run_ctest "$root/native"
run_ctest "$root/win64"
/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true

# The shipped i686 build, in the emulated 32-bit PC (scripts/guest-test.sh).
guest_start=$(date +%s)
bash scripts/guest-test.sh "$root" > "$root/guest-test.log" 2>&1 || true
grep -E '^TESSEL-TEST: |^guest-test: ' "$root/guest-test.log" || true
grep -E '^guest build' "$root/guest-test.log" || true
echo "== emulated 32-bit stage: $(( $(date +%s) - guest_start )) s (per program: $root/guest-run/times.txt)"

for script in scripts/check-*.sh; do
  [ -e "$script" ] || continue
  name=$(basename "$script" .sh)
  check "$name" bash "$script" "$root/win32"
done
if [ -x scripts/fuzz-exif.sh ]; then
  check "fuzz-exif-60s" bash scripts/fuzz-exif.sh 60
fi

python3 scripts/summarise-tests.py "$checks" "$root/native" "$root/win64" --guest "$root/guest-run"
