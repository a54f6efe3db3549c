# Sourced in the guest by a job running as the tests' user: the environment of
# every Wine run (the same as the x86_64 runs on the host), and a private
# Xvfb on :1. wine_session_start also keeps one small window open for the
# whole session, so that Wine's desktop process stays between programs.
export PATH=/usr/bin:/bin:/usr/sbin:/sbin:/usr/local/bin
export HOME=/home/tessel USER=tessel LOGNAME=tessel
export WINEPREFIX=/home/tessel/.wine WINEDEBUG=-all WINEDLLOVERRIDES='mscoree=d;mshtml=d'
export WINESERVER=/usr/lib/wine/wineserver32 WINELOADER=/usr/lib/wine/wine
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export DISPLAY=:1
WINE=/usr/lib/wine/wine

# Called by a job that the guest's init started as root: hands the job disk
# and the job itself over to the tests' user; answers the job's status.
run_job_as_tests_user() {
  chown -R tessel:tessel /data
  su -s /bin/sh tessel -c "sh /data/job.sh"
}

uptime_s() { cut -d' ' -f1 /proc/uptime; }

# wine_session_start [WxHxD] [keep-open program]
wine_session_start() {
  Xvfb :1 -screen 0 "${1:-1280x1024x24}" -nolisten tcp -fbdir /tmp > /tmp/xvfb.log 2>&1 &
  XVFB_PID=$!
  n=0
  while [ ! -S /tmp/.X11-unix/X1 ] && [ $n -lt 600 ]; do sleep 0.1; n=$((n + 1)); done
  [ -S /tmp/.X11-unix/X1 ] || { echo "TESSEL-GUEST: Xvfb did not start"; cat /tmp/xvfb.log; return 1; }
  "$WINESERVER" -p
  if [ -n "${2:-}" ]; then
    "$WINE" "$2" > /dev/null 2>&1 &
    KEEP_PID=$!
  fi
  return 0
}

wine_session_end() {
  [ -n "${KEEP_PID:-}" ] && kill "$KEEP_PID" 2>/dev/null
  "$WINESERVER" -k 2>/dev/null
  "$WINESERVER" -w 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  return 0
}
