# Guest job: the real-program benchmark of the i686 build (bench_tessel.exe
# driving Tessel.exe) beside the stub-log rename benchmark (bench_rename.exe),
# over 1,000 and 60 files, then start-up, preview, the log's steps, and the
# rename runs again with Wine's classic look; its figures go to the
# console as "TESSEL-BENCH: <line>".
. /data/wine-session.sh
if [ "$(id -u)" -eq 0 ]; then run_job_as_tests_user; exit $?; fi
mkdir -p /tmp/bench/real /tmp/bench/classic /tmp/bench/scan /tmp/bench/stub-1000 /tmp/bench/stub-60
# (busybox's shell runs its own seq, which has no -f)
for n in 1000 60; do
  (cd /tmp/bench/stub-$n && awk -v n=$n 'BEGIN { for (i = 1; i <= n; i++) printf "PICT%04d.jpg\n", i }' | xargs touch)
done
wine_session_start 1024x768x24 /data/keep_desktop.exe || exit 1
{
  for n in 1000 60; do
    "$WINE" 'Z:\data\bench_tessel.exe' rename 'Z:\tmp\bench\real' $n 'Z:\data\camera-ii.jpg' | tr -d '\r'
    "$WINE" 'Z:\data\bench_rename.exe' "Z:\\tmp\\bench\\stub-$n" 'Z:\tmp\bench\scan' | tr -d '\r' \
      | grep -E '^(rename|sleep):' | sed "s/^/stub $n: /"
  done
  "$WINE" 'Z:\data\bench_tessel.exe' startup 'Z:\tmp\bench' 3 | tr -d '\r'
  "$WINE" 'Z:\data\bench_tessel.exe' preview 'Z:\tmp\bench' 3 'Z:\data\camera-ii.jpg' \
    $(for n in 24 50 100 200; do printf 'Z:\\data\\camera-%smp-thumb.jpg Z:\\data\\camera-%smp.jpg ' $n $n; done) \
    | tr -d '\r'
  "$WINE" 'Z:\data\bench_tessel.exe' log 300 | tr -d '\r'
  # The same rename runs and log steps with Wine's classic look (theme off).
  theme='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
  "$WINE" reg add "$theme" /v ThemeActive /t REG_SZ /d 0 /f > /dev/null 2>&1
  for n in 1000 60; do
    "$WINE" 'Z:\data\bench_tessel.exe' rename 'Z:\tmp\bench\classic' $n 'Z:\data\camera-ii.jpg' | tr -d '\r' \
      | sed 's/^real /classic /'
  done
  "$WINE" 'Z:\data\bench_tessel.exe' log 300 | tr -d '\r' | sed 's/^log:/classic log:/'
  "$WINE" reg add "$theme" /v ThemeActive /t REG_SZ /d 1 /f > /dev/null 2>&1
} > /data/bench.log 2>&1
sed 's/^/TESSEL-BENCH: /' /data/bench.log
wine_session_end
exit 0
