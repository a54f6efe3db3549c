#!/usr/bin/env bash
# Fetches the Debian 12 i386 packages of the emulated 32-bit PC, with their
# whole closure, into <apt dir>/archives. apt runs on a private state: its own
# sources list (scripts/guest-sources.py: the host's Debian archive, suites
# bookworm and bookworm-updates), the i386 architecture alone and an empty
# status, so it fetches everything and touches nothing of this machine's own
# package state.
#
# Usage: guest-fetch.sh <apt dir> <package list> [host apt folder]
#
# The registry can be inconsistent for hours (an index whose size disagrees
# with its Release file). A failed update is therefore not fatal by itself:
# the download of the packages decides. Up to three tries, 30 s and 90 s
# apart. When the last one fails, one line "<cause>: <apt's last message>"
# goes to stderr and to <apt dir>/failure.txt, and the exit status is 1.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
a=$(realpath -m "${1:?usage: guest-fetch.sh <apt dir> <package list> [host apt folder]}")
list=${2:?usage: guest-fetch.sh <apt dir> <package list> [host apt folder]}
host_etc=${3:-/etc/apt}

rm -rf "$a" && mkdir -p "$a/lists/partial" "$a/archives/partial" "$a/cache" "$a/sources.list.d"
: > "$a/status"
python3 "$here/guest-sources.py" "$host_etc" > "$a/sources.list" || exit 1
apt_opts=(-o APT::Architecture=i386 -o APT::Architectures::=i386
          -o Dir::Etc::sourcelist="$a/sources.list" -o Dir::Etc::sourceparts="$a/sources.list.d"
          -o Dir::State::status="$a/status" -o Dir::State::Lists="$a/lists"
          -o Dir::Cache="$a/cache" -o Dir::Cache::archives="$a/archives"
          -o Debug::NoLocking=1 -o APT::Install-Recommends=false -o Acquire::Retries=3)
mapfile -t pkgs < <(grep -v -e '^#' -e '^$' "$list")
log=$a/fetch.log
: > "$log"
waits=(30 90)
for try in 1 2 3; do
  echo "== try $try" >> "$log"
  apt-get "${apt_opts[@]}" update -qq >> "$log" 2>&1 || echo "(update failed; the download decides)" >> "$log"
  try_start=$(wc -l < "$log")
  if apt-get "${apt_opts[@]}" --download-only -y -qq install "${pkgs[@]}" >> "$log" 2>&1; then
    exit 0
  fi
  [ "$try" -lt 3 ] && sleep "${waits[try - 1]}"
done

# The cause, from the last try: its update shows an unreachable registry, its
# download a package the registry does not have.
last=$(awk -v n="$(grep -n '^== try 3$' "$log" | cut -d: -f1)" 'NR >= n' "$log")
download=$(tail -n +"$((try_start + 1))" "$log")
if grep -q -i -E 'Could not resolve|Temporary failure resolving|Could not connect|Connection failed|Connection timed out|Unable to connect|No route to host|Network is unreachable' <<< "$last"; then
  cause="the registry is unreachable"
elif grep -q -i -E 'Unable to locate package|no installation candidate|is not installable|404 +Not Found' <<< "$download"; then
  cause="a package is missing from the registry"
else
  cause="the download failed"
fi
message=$(grep '^E: ' <<< "$download" | grep -v -e 'Unable to fetch some archives' -e 'Unable to correct problems' | tail -1)
[ -n "$message" ] || message=$(grep -v '^ *$' <<< "$download" | tail -1)
echo "the i386 packages of the emulated PC could not be fetched ($cause): ${message:-apt said nothing}" \
  | tee "$a/failure.txt" >&2
exit 1
