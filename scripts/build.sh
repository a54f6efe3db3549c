#!/usr/bin/env bash
# Configures and builds the three trees: native, win64 (x86_64, tested under
# Wine) and win32 (i686, shipped). Usage: build.sh [build root] [tree...]
# The build root defaults to ./build; trees default to all three.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "${1:-$top/build}")
shift || true
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native win64 win32)
mkdir -p "$root"
jobs=${TESSEL_JOBS:-$(nproc)}
for t in "${trees[@]}"; do
  case $t in
    native) args=() ;;
    win64) args=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake") ;;
    win32) args=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686.cmake") ;;
    *) echo "build.sh: unknown tree $t" >&2; exit 2 ;;
  esac
  if ! cmake -S "$top" -B "$root/$t" -DCMAKE_BUILD_TYPE=Release "${args[@]}" > "$root/$t.configure.log" 2>&1; then
    cat "$root/$t.configure.log" >&2
    echo "build.sh: configuring $t failed" >&2
    exit 1
  fi
  echo "== building $t"
  if ! cmake --build "$root/$t" -j "$jobs" > "$root/$t.log" 2>&1; then
    grep -v -E '^\[ *[0-9]+%\]' "$root/$t.log" | tail -60 >&2
    echo "build.sh: $t failed (log: $root/$t.log)" >&2
    exit 1
  fi
done
