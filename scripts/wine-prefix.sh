#!/usr/bin/env bash
# Prepares the Wine prefix of a build tree once: Japanese locale, the Gothic
# font under the face name the programs ask for, and no window manager wait.
# Usage: wine-prefix.sh <prefix folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=$(realpath -m "$1")
. "$here/wine-env.sh"
# A shortcut test makes the desktop unwritable for a moment; should a run be
# killed meanwhile, the next one makes it writable again.
chattr -i "$HOME/Desktop" 2>/dev/null || true
chmod u+w "$HOME/Desktop"
if [ -f "$WINEPREFIX/.tessel-ready" ]; then exit 0; fi
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -w
# Wine's own fonts (Marlett draws the caption buttons) from the fonts-wine
# package, which this Wine build does not find by itself.
cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
reg=$(mktemp --suffix=.reg)
bash "$here/prefix-settings-reg.sh" "$reg"
/usr/lib/wine/wine64 regedit /S "$(/usr/lib/wine/wine64 winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
/usr/lib/wine/wineserver -w
rm -f "$reg"
touch "$WINEPREFIX/.tessel-ready"
