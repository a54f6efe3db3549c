#!/usr/bin/env bash
# Writes the registry settings of every Wine prefix of this project (the
# x86_64 one here and the emulated 32-bit PC's) as a UTF-16 .reg file: "ＭＳ
# ゴシック" and the other dialog faces mapped to IPA Gothic, and Managed=N
# (no window-manager wait). Usage: prefix-settings-reg.sh <output file>
set -euo pipefail
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  printf '"ＭＳ ゴシック"="IPAGothic"\r\n'
  printf '"ＭＳ Ｐゴシック"="IPAPGothic"\r\n'
  printf '"MS Shell Dlg"="IPAGothic"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
  printf '"Managed"="N"\r\n\r\n'
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "${1:?usage: prefix-settings-reg.sh <output file>}"
