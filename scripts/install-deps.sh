#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12 (run as root).
# Safe to run again: apt-get skips what is already there, and the locale is
# generated only once.
set -euo pipefail

PACKAGES=(
  g++ cmake make ninja-build googletest libgtest-dev clang libclang-rt-14-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 fonts-wine locales fonts-ipafont-gothic
  xvfb x11-utils imagemagick xdotool
  libimage-exiftool-perl exiv2 liblnk-utils libjpeg-turbo-progs
  zip unzip file python3 faketime
  qemu-system-x86 cpio kmod e2fsprogs xz-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: need root to install: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # The registry can be inconsistent for hours (an index of a suite nothing
  # here comes from): a failed update is not fatal by itself, the install
  # decides. Up to three tries, 30 s and 90 s apart.
  waits=(30 90)
  for try in 1 2 3; do
    apt-get -o Acquire::Retries=3 update -qq || echo "install-deps: apt-get update failed (try $try)" >&2
    apt-get -o Acquire::Retries=3 install -y -qq --no-install-recommends "${missing[@]}" && break
    [ "$try" -lt 3 ] || { echo "install-deps: the packages could not be installed" >&2; exit 1; }
    sleep "${waits[try - 1]}"
  done
fi

# Wine's ANSI calls speak Shift-JIS only under a generated ja_JP.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [ "$(id -u)" -eq 0 ]; then
    sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  else
    echo "install-deps: ja_JP.UTF-8 locale missing and not root" >&2
    exit 1
  fi
fi
