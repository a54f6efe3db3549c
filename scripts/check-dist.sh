#!/usr/bin/env bash
# Checks the shipped folder of a 32-bit tree: dist/, Tessel-<version>.zip and
# SHA256SUMS beside the zip.
# Usage: check-dist.sh <build root>/win32
# Prints one PASS or FAIL line per check; exits 1 when any check fails.
set -u
tree=${1:?usage: check-dist.sh <build root>/win32}
dist=$tree/dist
zip=$(ls "$tree"/Tessel-*.zip 2>/dev/null | head -1)
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
failures=0

pass() { echo "PASS $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { local name=$1; shift; if "$@"; then pass "$name"; else fail "$name"; fi; }

# DLLs that every Windows installation has.
system_dll() {
  case ${1,,} in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|shell32.dll|shlwapi.dll|\
    ole32.dll|oleaut32.dll|winmm.dll|advapi32.dll|msvcrt.dll) return 0 ;;
    *) return 1 ;;
  esac
}

imports_only_system_dlls() {
  local exe=$1 dll any=1
  while read -r dll; do
    any=0
    system_dll "$dll" || { echo "  $exe imports $dll" >&2; return 1; }
  done < <("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
  return $any
}

# Windows 95, 98 and Me lack the Unicode calls (the names ending in W), and
# Windows 95 and NT 4.0 lack SHGetSpecialFolderPathA without Internet
# Explorer 4.0's desktop update: an import of one keeps the program from
# loading there. The programs look them up at run time; of Unicode they
# import only the two code-page conversions, which every Windows has.
imports_no_unicode_calls() {
  local exe=$1 bad
  bad=$("$objdump" -p "$exe" | awk '/^[[:space:]]*DLL Name:/ { dll = 1; next } dll && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print $3 }' |
    grep -E '(W|^SHGetSpecialFolderPathA)$' | grep -vxE 'MultiByteToWideChar|WideCharToMultiByte')
  [ -z "$bad" ] || { echo "  $exe imports:" $bad >&2; return 1; }
}

is_pe32_gui_i386() { file -b "$1" | grep -q '^PE32 executable (GUI) Intel 80386'; }

has_version_info() {
  local exe=$1 name
  name=$(basename "$exe")
  strings -a -el "$exe" | grep -qx 'FileVersion' &&
    strings -a -n 3 -el "$exe" | grep -qx '1\.1' &&
    strings -a -el "$exe" | grep -qx "$name"
}

has_manifest() {
  grep -aq 'level="asInvoker"' "$1" && grep -aq '<supportedOS Id=' "$1"
}

inf_is_shift_jis_crlf() {
  local inf=$1 text
  # Every line ends in CR LF, and nothing but CR LF ends a line.
  [ "$(tr -cd '\n' < "$inf" | wc -c)" -gt 0 ] || return 1
  [ "$(tr -cd '\n' < "$inf" | wc -c)" -eq "$(grep -c $'\r$' "$inf")" ] || return 1
  text=$(iconv -f CP932 -t UTF-8 "$inf" | tr -d '\r') || return 1
  [ "$text" = $'[実行ファイル名]\nTessel.exe\n[タイトル]\nTessel' ]
}

zip_holds_dist() {
  local names f
  [ -n "$zip" ] && [ -f "$zip" ] || return 1
  names=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
  [ "$names" = "Perch.exe Perch.inf Tessel.exe Tessel.txt " ] || { echo "  zip holds: $names" >&2; return 1; }
  for f in Tessel.exe Perch.exe Perch.inf Tessel.txt; do
    unzip -p "$zip" "$f" | cmp -s - "$dist/$f" || { echo "  $f differs from dist/" >&2; return 1; }
  done
}

# SHA256SUMS: one line "<hash>  <zip name>" that sha256sum -c accepts.
sums_hold() {
  local sums=$tree/SHA256SUMS
  [ -n "$zip" ] && [ -f "$sums" ] || return 1
  [ "$(wc -l < "$sums")" -eq 1 ] || return 1
  grep -Eqx "[0-9a-f]{64}  $(basename "$zip")" "$sums" || { echo "  SHA256SUMS: $(cat "$sums")" >&2; return 1; }
  (cd "$tree" && sha256sum --quiet -c SHA256SUMS) >&2
}

check "dist/ exists" test -d "$dist"
for f in Tessel.exe Perch.exe Perch.inf Tessel.txt; do
  check "dist/$f present" test -s "$dist/$f"
done
for exe in "$dist/Tessel.exe" "$dist/Perch.exe"; do
  n=$(basename "$exe")
  [ -f "$exe" ] || continue
  check "$n is a PE32 GUI program for Intel 80386" is_pe32_gui_i386 "$exe"
  check "$n imports only system DLLs" imports_only_system_dlls "$exe"
  check "$n imports no Unicode call nor SHGetSpecialFolderPathA (they are looked up)" imports_no_unicode_calls "$exe"
  check "$n carries version information 1.1" has_version_info "$exe"
  check "$n carries a manifest with asInvoker and supportedOS" has_manifest "$exe"
done
[ -f "$dist/Perch.inf" ] && check "Perch.inf is Shift-JIS with CRLF and registers Tessel.exe as Tessel" inf_is_shift_jis_crlf "$dist/Perch.inf"
check "zip holds exactly the files of dist/" zip_holds_dist
check "SHA256SUMS beside the zip names it and its hash holds" sums_hold
for exe in Tessel.exe Perch.exe; do
  if [ -n "$zip" ] && [ -f "$zip" ]; then
    tmp=$(mktemp)
    unzip -p "$zip" "$exe" > "$tmp" 2>/dev/null
    check "zip's $exe is a PE32 GUI program importing only system DLLs" \
      bash -c "$(declare -f is_pe32_gui_i386 imports_only_system_dlls system_dll); objdump=$objdump; is_pe32_gui_i386 '$tmp' && imports_only_system_dlls '$tmp'"
    rm -f "$tmp"
  fi
done

if [ "$failures" -gt 0 ]; then
  echo "check-dist: $failures check(s) failed"
  exit 1
fi
echo "check-dist: all checks passed"
