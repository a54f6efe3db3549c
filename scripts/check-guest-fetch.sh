#!/usr/bin/env bash
# The emulated PC's package fetch takes what it needs while another suite of
# the archive is inconsistent: a local archive (apt's copy: method) whose
# suite bookworm holds a tiny i386 package and whose suite bookworm-updates
# has a Release that gives a wrong size for its index. The host's sources
# (DEB822) name that archive beside a security suite that does not exist;
# its URI ends in /debian, as apt holds no Release file of it. No registry is
# involved. First, lean: the guest's archive is the one whose Release file
# says Origin: Debian, though a third party listed before it has "bookworm
# main" and a URI that ends in /debian too.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
arc=$t/debian

mkdir -p "$t/pick/etc" "$t/pick/lists"
printf 'deb https://packages.example.org/debian bookworm main\ndeb [signed-by=/k.gpg] http://ftp.jp.debian.org/debian/ bookworm main\n' \
  > "$t/pick/etc/sources.list"
printf 'Origin: Example\nSuite: bookworm\n' > "$t/pick/lists/packages.example.org_debian_dists_bookworm_Release"
printf -- '-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\nOrigin: Debian\nSuite: stable\n' \
  > "$t/pick/lists/ftp.jp.debian.org_debian_dists_bookworm_InRelease"
python3 "$here/guest-sources.py" "$t/pick/etc" "$t/pick/lists" \
  | grep -x 'deb \[arch=i386 signed-by=/k.gpg\] http://ftp.jp.debian.org/debian/ bookworm main' > /dev/null \
  || { echo "check-guest-fetch: the third party's archive was taken for Debian's" >&2; exit 1; }

mkdir -p "$t/pkg/DEBIAN" "$arc/pool"
printf 'Package: tessel-tiny\nVersion: 1\nArchitecture: i386\nMaintainer: Tessel tests <t@example.org>\nDescription: tiny\n' \
  > "$t/pkg/DEBIAN/control"
dpkg-deb --root-owner-group -b "$t/pkg" "$arc/pool/tessel-tiny_1_i386.deb" > /dev/null
suite() {  # suite <name> <Packages text> <size written into Release>
  local d=$arc/dists/$1
  mkdir -p "$d/main/binary-i386"
  printf '%s' "$2" > "$d/main/binary-i386/Packages"
  printf 'Suite: %s\nCodename: %s\nArchitectures: i386\nComponents: main\nSHA256:\n %s %s main/binary-i386/Packages\n' \
    "$1" "$1" "$(sha256sum < "$d/main/binary-i386/Packages" | cut -d' ' -f1)" "$3" > "$d/Release"
}
deb=$arc/pool/tessel-tiny_1_i386.deb
packages="Package: tessel-tiny
Version: 1
Architecture: i386
Filename: pool/tessel-tiny_1_i386.deb
Size: $(stat -c %s "$deb")
SHA256: $(sha256sum < "$deb" | cut -d' ' -f1)
Description: tiny

"
suite bookworm "$packages" "${#packages}"
other="Package: tessel-other
Version: 1
Architecture: i386
Filename: pool/none.deb
Size: 1
Description: other

"
suite bookworm-updates "$other" $(( ${#other} + 100 ))

mkdir -p "$t/etc/sources.list.d"
printf 'Types: deb\nURIs: copy:%s\nSuites: bookworm bookworm-updates\nComponents: main\nTrusted: yes\n\nTypes: deb\nURIs: copy:%s/nowhere\nSuites: bookworm-security\nComponents: main\nTrusted: yes\n' \
  "$arc" "$t" > "$t/etc/sources.list.d/debian.sources"
echo tessel-tiny > "$t/packages.txt"

bash "$here/guest-fetch.sh" "$t/apt" "$t/packages.txt" "$t/etc"
grep -q 'unexpected size\|Hash Sum mismatch' "$t/apt/fetch.log" \
  || { echo "check-guest-fetch: the inconsistent suite was not met" >&2; exit 1; }
! grep -q nowhere "$t/apt/sources.list" || { echo "check-guest-fetch: the security suite was read" >&2; exit 1; }
cmp "$deb" "$t/apt/archives/tessel-tiny_1_i386.deb"
echo "check-guest-fetch: fetched through an inconsistent suite"
