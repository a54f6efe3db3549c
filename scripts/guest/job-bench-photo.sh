# Guest job: the preview benchmark of the i686 build (preview_bench.exe) over
# the camera photos, one line of the plan (label, kind, dpi, file, pane width
# and height) a run; its figures go to the console as "TESSEL-BENCH: <line>".
. /data/wine-session.sh
if [ "$(id -u)" -eq 0 ]; then run_job_as_tests_user; exit $?; fi
wine_session_start 1024x768x24 /data/keep_desktop.exe || exit 1
while read -r n kind dpi file w h; do
  line=$("$WINE" 'Z:\data\preview_bench.exe' "Z:\\data\\$file" 3 "$w" "$h" < /dev/null | tr -d '\r' \
    | grep -E '^(picture|refused)')
  echo "TESSEL-BENCH: $n $kind $dpi: $line"
done < /data/preview-plan.txt
wine_session_end
exit 0
