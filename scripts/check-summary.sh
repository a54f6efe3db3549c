#!/usr/bin/env bash
# Checks that the test summary cannot be fooled: a program that left no
# report, a report with raw Shift-JIS bytes, a report of a 64-bit program in
# the emulated 32-bit run, a guest check that failed and a skipped case are
# each counted as they must be: a skip fails the run unless the allowed-skips
# list names it with a condition that holds here and the emulated run passed
# the same case.
# Usage: check-summary.sh [ignored]
# Prints one PASS or FAIL line per check; exits 1 when any check fails.
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

report() {  # report <file> <pointer bits> <cases...>: cases are ok, fail or skip
  local file=$1 bits=$2; shift 2
  {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo "<testsuites tests=\"$#\" pointer_bits=\"$bits\" name=\"AllTests\"><testsuite name=\"S\">"
    local i=0
    for c in "$@"; do
      i=$((i + 1))
      case $c in
        ok) echo "<testcase name=\"C$i\" classname=\"S\" result=\"completed\"/>" ;;
        fail) echo "<testcase name=\"C$i\" classname=\"S\"><failure message=\"x\"/></testcase>" ;;
        skip) echo "<testcase name=\"C$i\" classname=\"S\" result=\"skipped\"><skipped/></testcase>" ;;
      esac
    done
    echo '</testsuite></testsuites>'
  } > "$file"
}

tree() {  # tree <folder> <program...>: a tree whose ctest ran those programs
  mkdir -p "$1/test-results"
  local t=$1; shift
  printf '%s\n' "$@" > "$t/ctest-ran.txt"
}

expect() {  # expect <name> <closing line> <exit code> <summary arguments...>
  local name=$1 line=$2 code=$3; shift 3
  local out rc
  out=$(python3 "$here/summarise-tests.py" "$@" 2>&1); rc=$?
  if [ "$(printf '%s\n' "$out" | tail -1)" = "$line" ] && [ "$rc" -eq "$code" ]; then
    echo "PASS summary-$name"
  else
    echo "FAIL summary-$name: got '$(printf '%s\n' "$out" | tail -1)' exit $rc, want '$line' exit $code"
    failures=$((failures + 1))
  fi
}

: > "$work/checks.txt"
tree "$work/host" a b
report "$work/host/test-results/a.xml" 64 ok ok skip
report "$work/host/test-results/b.xml" 64 ok fail
none=$work/no-allowed-skips.txt
: > "$none"
expect host-counts "3 passed, 2 failed, 0 skipped" 1 "$work/checks.txt" "$work/host" --allowed-skips "$none"

# A listed skip whose condition ("root") holds counts as skipped, not failed;
# the same list on a machine where the condition fails makes it a failure.
allowed=$work/allowed-skips.txt
echo 'a: S.C3 | root | root writes read-only files' > "$allowed"
tree "$work/skip" a
report "$work/skip/test-results/a.xml" 64 ok ok skip
if [ "$(id -u)" -eq 0 ]; then
  expect listed-skip-with-its-condition "2 passed, 0 failed, 1 skipped" 0 "$work/checks.txt" "$work/skip" --allowed-skips "$allowed"
else
  expect listed-skip-without-its-condition "2 passed, 1 failed, 0 skipped" 1 "$work/checks.txt" "$work/skip" --allowed-skips "$allowed"
fi
echo 'a: S.C3 | never-heard-of | no such condition' > "$work/unknown.txt"
expect unknown-condition-fails "2 passed, 1 failed, 0 skipped" 1 "$work/checks.txt" "$work/skip" --allowed-skips "$work/unknown.txt"
# The emulated run must have passed a listed host skip, and may skip nothing.
tree "$work/gskip" a
report "$work/gskip/test-results/a.xml" 32 ok ok fail
expect listed-skip-that-the-guest-failed "4 passed, 2 failed, 0 skipped" 1 "$work/checks.txt" "$work/skip" --guest "$work/gskip" --allowed-skips "$allowed"
report "$work/gskip/test-results/a.xml" 32 ok ok skip
expect guest-skip-fails "4 passed, 2 failed, 0 skipped" 1 "$work/checks.txt" "$work/skip" --guest "$work/gskip" --allowed-skips "$allowed"
if [ "$(id -u)" -eq 0 ]; then
  report "$work/gskip/test-results/a.xml" 32 ok ok ok
  expect listed-skip-that-the-guest-passed "5 passed, 0 failed, 1 skipped" 0 "$work/checks.txt" "$work/skip" --guest "$work/gskip" --allowed-skips "$allowed"
fi

tree "$work/lost" a b
report "$work/lost/test-results/a.xml" 64 ok
expect missing-report-fails "1 passed, 1 failed, 0 skipped" 1 "$work/checks.txt" "$work/lost"

# GoogleTest writes a failure message's Shift-JIS bytes ("改名" in CP932, and
# bytes that are no UTF-8 at all) raw into its UTF-8 report: still counted.
tree "$work/sjis" a
report "$work/sjis/test-results/a.xml" 64 ok fail ok
LC_ALL=C sed -i 's|<failure message="x"/>|<failure message="\x89\xfc\x96\xbc \xff\xc3("><![CDATA[\x89\xfc\x96\xbc]]></failure>|' \
  "$work/sjis/test-results/a.xml"
out=$(python3 "$here/summarise-tests.py" "$work/checks.txt" "$work/sjis")
if printf '%s\n' "$out" | grep -qx 'FAILED: a: S.C2' && [ "$(printf '%s\n' "$out" | tail -1)" = "2 passed, 1 failed, 0 skipped" ]; then
  echo "PASS summary-shift-jis-report-counts"
else
  echo "FAIL summary-shift-jis-report-counts: $out"; failures=$((failures + 1))
fi

tree "$work/g32" t1 t2
report "$work/g32/test-results/t1.xml" 32 ok ok
report "$work/g32/test-results/t2.xml" 32 ok
printf 'PASS guest-programs-are-the-zip\n' > "$work/g32/checks.txt"
tree "$work/h" a
report "$work/h/test-results/a.xml" 64 ok
expect guest-32-bit-counts "5 passed, 0 failed, 0 skipped" 0 "$work/checks.txt" "$work/h" --guest "$work/g32"

tree "$work/g64" t1 t2
report "$work/g64/test-results/t1.xml" 32 ok ok
report "$work/g64/test-results/t2.xml" 64 ok ok ok
expect guest-64-bit-report-fails "3 passed, 1 failed, 0 skipped" 1 "$work/checks.txt" "$work/h" --guest "$work/g64"

tree "$work/gdown" t1 t2
printf 'FAIL guest-programs-are-the-zip\n' > "$work/gdown/checks.txt"
expect guest-that-did-not-run-fails "1 passed, 3 failed, 0 skipped" 1 "$work/checks.txt" "$work/h" --guest "$work/gdown"

out=$(python3 "$here/summarise-tests.py" "$work/checks.txt" "$work/h" --guest "$work/g32")
if printf '%s\n' "$out" | grep -qx 'emulated 32-bit PC (i686 build): 4 passed, 0 failed, 0 skipped'; then
  echo "PASS summary-guest-line-of-its-own"
else
  echo "FAIL summary-guest-line-of-its-own"; failures=$((failures + 1))
fi
[ "$failures" -eq 0 ]
