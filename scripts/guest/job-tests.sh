# Guest job: runs every test program of the i686 tree, as the tests' user,
# against the shipped programs taken out of the zip. Layout of the job disk:
#   manifest.txt      "<program> <time limit s> [arguments]" a line, in the
#                     order to run
#   zip.sha256        the SHA-256 of the zip's members, taken by the host
#   Tessel-*.zip      the shipped zip
#   tree/bin/         the test programs and tools; the zip is unpacked here
#   tree/test-photos/ the photo test files
# It writes tree/test-results/<program>.xml, logs/<program>.log and
# checks.txt ("PASS name" / "FAIL name"), and prints one line a program:
#   TESSEL-TEST: <program> rc=<code> <seconds> s
. /data/wine-session.sh
if [ "$(id -u)" -eq 0 ]; then
  # A disk of 8 KiB that the tests' user may fill (a full disk under
  # Tessel.ini): only root may mount it. Gone again however the job ends.
  disk=/mnt/tessel-small-disk
  mkdir -p "$disk"
  trap 'umount "$disk" 2>/dev/null' EXIT
  mount -t tmpfs -o size=8k,mode=0700,uid="$(id -u tessel)",gid="$(id -g tessel)" tmpfs "$disk" \
    || echo "TESSEL-GUEST: no small disk at $disk"
  run_job_as_tests_user
  exit $?
fi
cd /data || exit 1
mkdir -p tree/test-results logs
: > checks.txt

# The programs under test are the very bytes of the zip.
unzip -o -q Tessel-*.zip -d tree/bin
if (cd tree/bin && sha256sum -c /data/zip.sha256) > logs/zip-check.log 2>&1; then
  echo "PASS guest-programs-are-the-zip" >> checks.txt
else
  echo "FAIL guest-programs-are-the-zip" >> checks.txt
  cat logs/zip-check.log
fi

wine_session_start 1280x1024x24 /data/tree/bin/keep_desktop.exe || exit 1
echo "TESSEL-GUEST: session ready at $(uptime_s) s"
while read -r program limit arguments; do
  [ -n "$program" ] || continue
  t0=$(uptime_s)
  # shellcheck disable=SC2086  # the arguments are words of their own
  (cd tree/bin && timeout -k 10 "$limit" "$WINE" "./$program.exe" $arguments \
      "--gtest_output=xml:Z:\\data\\tree\\test-results\\$program.xml") > "logs/$program.log" 2>&1
  rc=$?
  echo "TESSEL-TEST: $program rc=$rc $(awk "BEGIN{printf \"%.1f\", $(uptime_s) - $t0}") s"
  [ "$rc" -eq 0 ] || tail -40 "logs/$program.log"
done < manifest.txt

# Nothing replaced the shipped programs while the tests ran.
if (cd tree/bin && sha256sum -c /data/zip.sha256) >> logs/zip-check.log 2>&1; then
  echo "PASS guest-programs-unchanged-after-the-run" >> checks.txt
else
  echo "FAIL guest-programs-unchanged-after-the-run" >> checks.txt
fi
wine_session_end
exit 0
