#!/usr/bin/env bash
# Builds the libFuzzer target of the EXIF capture-date parser with clang
# (address and undefined-behaviour sanitizers) and runs it for <seconds>.
# Usage: fuzz-exif.sh <seconds>
# Works from a clean checkout: it builds the fuzzer and writes its seed corpus
# (our own crafted heads, and real JPEG files when ImageMagick and exiftool
# are there) into $TESSEL_FUZZ_DIR (default build-fuzz/). Prints the number
# of executions; exits non-zero when the fuzzer finds a crash.
set -euo pipefail
secs=${1:?usage: fuzz-exif.sh <seconds>}
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${TESSEL_FUZZ_DIR:-$top/build-fuzz}")
mkdir -p "$out/corpus"
cxx=${CLANGXX:-clang++}

common=(-std=c++17 -g -O1 -fno-omit-frame-pointer -I"$top" -I"$top/tests")
"$cxx" "${common[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  "$top/tests/fuzz/exif_fuzzer.cpp" "$top/photo/exif_reader.cpp" -o "$out/exif_fuzzer"
"$cxx" "${common[@]}" "$top/tests/fuzz/exif_seeds.cpp" -o "$out/exif_seeds"

rm -rf "$out/seeds"
mkdir -p "$out/seeds"
"$out/exif_seeds" "$out/seeds"
if command -v convert >/dev/null && command -v exiftool >/dev/null; then
  if "$top/scripts/make-test-photos.sh" "$out/photos" >/dev/null 2>&1; then
    for f in "$out"/photos/*.jpg; do head -c 3000 "$f" > "$out/seeds/real-$(basename "$f")"; done
  fi
fi

log=$out/fuzz.log
echo "exif fuzzer: running for ${secs} s (log: $log)"
set +e
"$out/exif_fuzzer" "$out/corpus" "$out/seeds" \
  -dict="$top/tests/fuzz/exif.dict" -max_len=3000 -timeout=10 \
  -max_total_time="$secs" -print_final_stats=1 -artifact_prefix="$out/" > "$log" 2>&1
status=$?
set -e
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
grep -E "^#[0-9]+[[:space:]]+DONE" "$log" | tail -1 || true
echo "exif fuzzer: ${runs:-unknown} executions in ${secs} s, exit status $status"
if [ $status -ne 0 ]; then
  grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -20 >&2 || true
  echo "exif fuzzer: FAILED (see $log)" >&2
  exit 1
fi
