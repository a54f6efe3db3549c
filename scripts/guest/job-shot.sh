# Guest job: starts the shipped Tessel.exe, taken out of the zip, in a Wine
# desktop and saves the screen once its main window has settled.
# Leaves on the job disk: rect.txt ("x y width height" of the main window),
# screen.xwd (Xvfb's frame buffer) and shot.log.
. /data/wine-session.sh
if [ "$(id -u)" -eq 0 ]; then run_job_as_tests_user; exit $?; fi
cd /data || exit 1
mkdir -p run
unzip -o -q Tessel-*.zip -d run
(cd run && sha256sum -c /data/zip.sha256) > shot.log 2>&1 || { echo "TESSEL-SHOT: not the zip's bytes"; exit 1; }
wine_session_start 1024x768x24 || exit 1
(cd run && "$WINE" explorer /desktop=Tessel,1024x768 'Z:\data\run\Tessel.exe') >> shot.log 2>&1 &
# The desktop's explorer stays while the desktop has windows: run it aside
# and wait for the rectangle.
"$WINE" explorer /desktop=Tessel,1024x768 'Z:\data\window_rect.exe' TesselClass 120000 'Z:\data\rect.txt' >> shot.log 2>&1 &
n=0
while [ ! -s rect.txt ] && [ $n -lt 1300 ]; do sleep 0.1; n=$((n + 1)); done
if [ -s rect.txt ]; then
  cp /tmp/Xvfb_screen0 screen.xwd
  echo "TESSEL-SHOT: main window at $(cat rect.txt)"
else
  echo "TESSEL-SHOT: Tessel's window did not appear"
fi
wine_session_end
[ -s screen.xwd ]
