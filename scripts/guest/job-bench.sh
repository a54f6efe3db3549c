# Guest job: the rename benchmark of the i686 build (bench_rename.exe) over
# 1,000 generated files and a scan folder of 20,000 entries; its figures go
# to the console as "TESSEL-BENCH: <line>".
. /data/wine-session.sh
if [ "$(id -u)" -eq 0 ]; then run_job_as_tests_user; exit $?; fi
mkdir -p /tmp/bench/rename /tmp/bench/scan
# (busybox's shell runs its own seq, which has no -f)
(cd /tmp/bench/rename && awk 'BEGIN { for (i = 1; i <= 1000; i++) printf "PICT%04d.jpg\n", i }' | xargs touch)
(cd /tmp/bench/scan && awk 'BEGIN { for (i = 1; i <= 20000; i++) printf "PICT%05d.jpg\n", i }' | xargs touch)
wine_session_start 1024x768x24 /data/keep_desktop.exe || exit 1
"$WINE" 'Z:\data\bench_rename.exe' 'Z:\tmp\bench\rename' 'Z:\tmp\bench\scan' > /data/bench.log 2>&1
rc=$?
sed 's/^/TESSEL-BENCH: /' /data/bench.log
wine_session_end
exit $rc
