# Sourced: the environment every Wine run of this project uses.
# WINEPREFIX must be set by the caller (a folder inside the build tree).
: "${WINEPREFIX:?set WINEPREFIX to the prefix inside the build tree}"
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree=d;mshtml=d}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# Shortcut tests write to the desktop: keep it inside the build tree.
export HOME=${TESSEL_WINE_HOME:-$(dirname "$WINEPREFIX")/wine-home}
mkdir -p "$HOME/Desktop"
