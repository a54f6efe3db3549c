#!/usr/bin/env bash
# Runs one Windows program under wine64 (the CTest emulator of the x86_64 tree).
# The prefix, locale and display come from the environment; see wine-env.sh.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
exec timeout --kill-after=10 "${TESSEL_WINE_TIMEOUT:-900}" /usr/lib/wine/wine64 "$@"
