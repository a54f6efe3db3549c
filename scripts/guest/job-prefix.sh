# Guest job of the first boot: makes the Wine prefix of the tests' user, with
# the Japanese font replacements, Managed=N and Wine's own fonts, and leaves
# it in the root image.
. /data/wine-session.sh
if [ "$(id -u)" -eq 0 ]; then
  chown -R tessel:tessel /home/tessel
  run_job_as_tests_user
  exit $?
fi
t0=$(uptime_s)
rm -rf "$WINEPREFIX"
"$WINE" wineboot -i > /tmp/wineboot.log 2>&1
"$WINESERVER" -w
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
cp /opt/tessel/prefix.reg /tmp/prefix.reg
"$WINE" regedit /S 'Z:\tmp\prefix.reg' > /tmp/regedit.log 2>&1
"$WINESERVER" -w
if [ -f "$WINEPREFIX/system.reg" ] && grep -q '"Managed"="N"' "$WINEPREFIX/user.reg"; then
  echo "TESSEL-PREFIX: ready in $(awk "BEGIN{print $(uptime_s) - $t0}") s, $(du -sm "$WINEPREFIX" | cut -f1) MB"
else
  echo "TESSEL-PREFIX: failed"; cat /tmp/wineboot.log /tmp/regedit.log | tail -20
  exit 1
fi
