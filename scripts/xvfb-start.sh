#!/usr/bin/env bash
# Starts a private Xvfb on a free display and prints "<display> <pid>".
# Usage: xvfb-start.sh [WxHxD]
set -euo pipefail
geom=${1:-1280x1024x24}
for n in $(seq 91 199); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
  Xvfb :$n -screen 0 "$geom" -nolisten tcp >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 1 100); do
    [ -e /tmp/.X11-unix/X$n ] && { echo ":$n $pid"; exit 0; }
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  kill $pid 2>/dev/null || true
done
echo "xvfb-start: no free display" >&2
exit 1
