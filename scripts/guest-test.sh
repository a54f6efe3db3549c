#!/usr/bin/env bash
# Runs every Windows test program of the i686 tree in the emulated 32-bit PC,
# against the shipped programs of the zip, and brings the reports back.
# Usage: guest-test.sh [build root]   (the i686 tree must be built)
# To hunt a case that fails now and then: TESSEL_GUEST_ONLY="<program>..."
# runs only those programs, and TESSEL_GUEST_REPEAT=N runs each one's cases
# N times over in one start (--gtest_repeat; the log has every round).
# Leaves in <build root>/guest-run/:
#   test-results/*.xml, ctest-ran.txt  for scripts/summarise-tests.py --guest
#   checks.txt                          the guest's own checks, PASS/FAIL lines
#   logs/                               each program's output
#   console.log                         the guest's serial console
#   times.txt                           seconds a program, guest beside wine64
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(realpath -m "${1:-$here/../build}")
tree=$root/win32
g=$root/guest
run=$root/guest-run
. "$here/guest-lib.sh"

started=$(date +%s)
rm -rf "$run" && mkdir -p "$run"
manifest=$tree/guest-tests.txt
[ -s "$manifest" ] || { echo "guest-test: no $manifest (build the win32 tree)" >&2; exit 1; }
if [ -n "${TESSEL_GUEST_ONLY:-}${TESSEL_GUEST_REPEAT:-}" ]; then
  repeat=${TESSEL_GUEST_REPEAT:-1}
  while read -r program limit; do
    case " ${TESSEL_GUEST_ONLY:-$program} " in *" $program "*) ;; *) continue ;; esac
    if [ "$repeat" -gt 1 ]; then
      echo "$program $(( limit * repeat )) --gtest_repeat=$repeat"
    else
      echo "$program $limit"
    fi
  done < "$manifest" > "$run/manifest.txt"
  manifest=$run/manifest.txt
  [ -s "$manifest" ] || { echo "guest-test: no program named ${TESSEL_GUEST_ONLY}" >&2; exit 1; }
fi
# Whatever happens from here, every listed program counts: one without a
# report is a failure.
cut -d' ' -f1 "$manifest" > "$run/ctest-ran.txt"
expected_checks="guest-programs-are-the-zip guest-programs-unchanged-after-the-run guest-payload-is-32-bit"

# The PC could not run at all: every case fails, and the summary prints the
# cause in one line (not-run.txt) in place of a line a case.
fail_all() {
  echo "guest-test: $*" >&2
  echo "$*" > "$run/not-run.txt"
  : > "$run/checks.txt"
  for c in $expected_checks; do echo "FAIL $c" >> "$run/checks.txt"; done
  exit 1
}

t0=$(date +%s)
if ! bash "$here/guest-build.sh" "$g"; then
  [ -s "$g/apt/failure.txt" ] && fail_all "$(cat "$g/apt/failure.txt")"
  fail_all "the guest could not be built"
fi
build_time=$(( $(date +%s) - t0 ))

payload=$(mktemp -d "$root/guest-payload.XXXXXX")
trap 'rm -rf "$payload"' EXIT
mkdir -p "$payload/tree/bin" "$payload/tree/test-results"
cp "$here/guest/job-tests.sh" "$payload/job.sh"
cp "$here/guest/wine-session.sh" "$manifest" "$payload/"
mv "$payload/guest-tests.txt" "$payload/manifest.txt"
while read -r program _; do
  cp "$tree/bin/$program.exe" "$payload/tree/bin/" || fail_all "$program.exe is missing"
done < "$manifest"
cp "$tree/bin/keep_desktop.exe" "$tree/bin/window_rect.exe" "$tree/bin/late_loop.exe" "$payload/tree/bin/"
cp -r "$tree/test-photos" "$payload/tree/"
zip=$(ls "$tree"/Tessel-*.zip)
cp "$zip" "$payload/"
for member in $(unzip -Z1 "$zip"); do
  echo "$(unzip -p "$zip" "$member" | sha256sum | cut -d' ' -f1)  $member"
done > "$payload/zip.sha256"

# Only 32-bit programs go in: every one is PE32, none PE32+.
payload_32=PASS
for exe in "$payload"/tree/bin/*.exe; do
  file -b "$exe" | grep -q '^PE32 executable' || { echo "guest-test: $exe is not 32-bit" >&2; payload_32=FAIL; }
done

guest_data_disk "$payload" "$run/data.img" 1G || fail_all "the job disk could not be made"
echo "== running $(wc -l < "$manifest") test programs in the emulated 32-bit PC"
t0=$(date +%s)
booted=0
guest_boot "$g" "$g/base.img" "$run/data.img" "$run/console.log" "${TESSEL_GUEST_TIMEOUT:-2700}" && booted=1
run_time=$(( $(date +%s) - t0 ))
guest_fetch "$run/data.img" /tree/test-results "$run"
guest_fetch "$run/data.img" /logs "$run"
debugfs -R "dump /checks.txt $run/checks.txt" "$run/data.img" > /dev/null 2>&1
rm -f "$run/data.img"

touch "$run/checks.txt"
for c in guest-programs-are-the-zip guest-programs-unchanged-after-the-run; do
  grep -q " $c\$" "$run/checks.txt" || echo "FAIL $c" >> "$run/checks.txt"
done
echo "$payload_32 guest-payload-is-32-bit" >> "$run/checks.txt"
if [ "$booted" -ne 1 ]; then
  echo "guest-test: the guest did not finish its job; the end of its console:" >&2
  tail -40 "$run/console.log" >&2
fi

# Seconds a program: in the guest beside under wine64 on this machine.
{
  printf '%-40s %10s %10s\n' program guest wine64
  while read -r program _; do
    gs=$(sed -n "s/^TESSEL-TEST: $program rc=[0-9]* \([0-9.]*\) s.*/\1/p" "$run/console.log" | head -1)
    ws=$(sed -n "s/.*Test *#[0-9]*: $program \.* *[A-Za-z*]* *\([0-9.]*\) sec.*/\1/p" "$root/win64/ctest.log" 2>/dev/null | head -1)
    printf '%-40s %10s %10s\n' "$program" "${gs:--}" "${ws:--}"
  done < "$manifest"
  echo "guest build or check: ${build_time} s; boot and run: ${run_time} s; stage: $(( $(date +%s) - started )) s"
} > "$run/times.txt"
sed -n 's/^\(TESSEL-TEST: .*\)\r\?$/\1/p' "$run/console.log" | tr -d '\r'
cat "$run/times.txt"
[ "$booted" -eq 1 ]
