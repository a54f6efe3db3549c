#!/usr/bin/env bash
# Builds the emulated 32-bit PC that runs the shipped i686 programs: Debian 12
# i386 packages fetched by apt for the i386 architecture alone
# (scripts/guest-fetch.sh) and unpacked on
# this machine with dpkg -x (nothing i386 runs here), an initramfs that loads
# the virtio and ext4 modules, and an ext4 root image in which a first boot
# has made the Wine prefix of the guest's user.
#
# Usage: guest-build.sh <guest folder>
# Leaves in <guest folder>: vmlinuz, initrd.img, base.img (with the prefix);
# when the packages cannot be fetched, apt/failure.txt with the one-line cause.
# Each stage keeps a stamp of its inputs and is redone only when they change:
#   debs/   the packages (input: scripts/guest/packages.txt)
#   root/   the unpacked root, kernel and initramfs (input: the packages and
#           the scripts that shape the root)
#   base.img the root image after the prefix boot (input: the root, the job)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
g=$(realpath -m "${1:?usage: guest-build.sh <guest folder>}")
mkdir -p "$g"
log() { echo "guest-build: $*" >&2; }
hash_of() { cat "$@" | sha256sum | cut -c1-16; }
stamp_ok() { [ -f "$1" ] && [ "$(cat "$1")" = "$2" ]; }

started=$(date +%s)

# --- packages ---------------------------------------------------------------
debs_key=$(hash_of "$here/guest/packages.txt")
if ! stamp_ok "$g/debs.stamp" "$debs_key"; then
  log "fetching the i386 packages"
  rm -f "$g/debs.stamp"
  bash "$here/guest-fetch.sh" "$g/apt" "$here/guest/packages.txt" || exit 1
  echo "$debs_key" > "$g/debs.stamp"
fi
debs=$g/apt/archives

# --- root, kernel, initramfs -------------------------------------------------
root_key=$(
  { ls "$debs"/*.deb | xargs -n1 basename; cat "$0" "$here/guest/init" "$here/guest/initramfs-init" "$here/prefix-settings-reg.sh"; } \
    | sha256sum | cut -c1-16)
if ! stamp_ok "$g/root.stamp" "$root_key"; then
  log "unpacking the root"
  rm -rf "$g/root" "$g/kernel" "$g/root.stamp" "$g/base.stamp"
  mkdir -p "$g/root" "$g/kernel"
  for deb in "$debs"/*.deb; do
    case $(basename "$deb") in
      # The kernel goes into the initramfs; boot tooling, udev and the Mesa
      # drivers (Xvfb renders in software without them) are not needed.
      linux-image-6*) dpkg -x "$deb" "$g/kernel" ;;
      linux-image-*|linux-base_*|initramfs-tools*|klibc-utils_*|libklibc_*|udev_*) ;;
      libllvm*|libgl1-mesa-dri_*|libz3-*) ;;
      *) dpkg -x "$deb" "$g/root" ;;
    esac
  done
  r=$g/root
  rm -rf "$r"/usr/share/doc "$r"/usr/share/man "$r"/usr/share/info "$r"/usr/share/locale \
         "$r"/usr/share/lintian "$r"/usr/share/bug
  # Wine's PE libraries carry their debug information (about 550 MB); Wine
  # still takes them as builtin without it.
  find "$r/usr/lib/i386-linux-gnu/wine/i386-windows" -type f -print0 \
    | xargs -0 -P "$(nproc)" -n 1 i686-w64-mingw32-objcopy --strip-debug --file-alignment 0x1000
  # What maintainer scripts would have done. libwine: zlib1.dll from
  # libz-mingw-w64, marked as a Wine builtin DLL (user32 fails to load without it).
  zin=$r/usr/i686-w64-mingw32/lib/zlib1.dll
  zout=$r/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll
  { head -c 64 "$zin"; printf 'Wine builtin DLL'; head -c 16 /dev/zero; tail -c +97 "$zin"; } > "$zout"
  # fontconfig-config: the default hinting; busybox: the shell.
  ln -sf /usr/share/fontconfig/conf.avail/10-hinting-slight.conf "$r/etc/fonts/conf.d/10-hinting-slight.conf"
  ln -sf busybox "$r/bin/sh"
  mkdir -p "$r/proc" "$r/sys" "$r/dev" "$r/tmp" "$r/run" "$r/data" "$r/home/tessel" "$r/root" \
           "$r/usr/local/bin" "$r/opt/tessel"
  chmod 1777 "$r/tmp"
  printf 'root:x:0:0:root:/root:/bin/sh\ntessel:x:1000:1000:Tessel tests:/home/tessel:/bin/sh\n' > "$r/etc/passwd"
  printf 'root:x:0:\ntessel:x:1000:\n' > "$r/etc/group"
  printf 'root::0:0:99999:7:::\ntessel:!:0:0:99999:7:::\n' > "$r/etc/shadow"
  chmod 640 "$r/etc/shadow"
  echo tessel-guest > "$r/etc/hostname"
  # The tests' user; its files are its own in the guest (uid 1000).
  chown 1000:1000 "$r/home/tessel" 2>/dev/null || true
  # The Japanese locale, compiled here: the format is the same for i386.
  localedef --no-archive -i ja_JP -f UTF-8 "$r/usr/lib/locale/ja_JP.UTF-8" 2>/dev/null \
    || [ -f "$r/usr/lib/locale/ja_JP.UTF-8/LC_CTYPE" ] || { log "localedef failed"; exit 1; }
  install -m 755 "$here/guest/init" "$r/opt/tessel/init"
  # The registry settings of the prefix, as the x86_64 prefix has them.
  bash "$here/prefix-settings-reg.sh" "$r/opt/tessel/prefix.reg"

  # The initramfs: busybox and the modules that reach the root image.
  kver=$(ls "$g/kernel/lib/modules")
  cp "$g/kernel/boot/vmlinuz-$kver" "$g/vmlinuz"
  ird=$g/initramfs
  rm -rf "$ird" && mkdir -p "$ird/bin" "$ird/modules"
  cp "$r/bin/busybox" "$ird/bin/busybox"
  install -m 755 "$here/guest/initramfs-init" "$ird/init"
  for m in crc32c_generic crc16 mbcache jbd2 ext4 virtio_ring virtio \
           virtio_pci_legacy_dev virtio_pci_modern_dev virtio_pci virtio_blk; do
    f=$(find "$g/kernel/lib/modules/$kver" -name "$m.ko" | head -1)
    [ -n "$f" ] || { log "module $m missing from the kernel package"; exit 1; }
    cp "$f" "$ird/modules/"
  done
  (cd "$ird" && find . | cpio -o -H newc --quiet | gzip -1) > "$g/initrd.img"
  echo "$root_key" > "$g/root.stamp"
fi

# --- image with the prefix -----------------------------------------------------
base_key=$(hash_of "$g/root.stamp" "$here/guest/job-prefix.sh" "$here/guest/wine-session.sh" "$here/guest-lib.sh")
if ! stamp_ok "$g/base.stamp" "$base_key"; then
  log "making the root image"
  rm -f "$g/base.img" "$g/base.stamp"
  mke2fs -q -t ext4 -O ^metadata_csum,^64bit -E root_owner=0:0 -L tessel-root \
    -d "$g/root" "$g/base.img.new" 2G
  . "$here/guest-lib.sh"
  job=$(mktemp -d)
  cp "$here/guest/job-prefix.sh" "$job/job.sh"
  cp "$here/guest/wine-session.sh" "$job/"
  guest_data_disk "$job" "$g/prefix-data.img" 64M
  log "first boot: the Wine prefix"
  if ! guest_boot "$g" "$g/base.img.new" "$g/prefix-data.img" "$g/prefix-console.log" 600 write; then
    tail -30 "$g/prefix-console.log" >&2
    log "the prefix boot failed"
    exit 1
  fi
  grep -q 'TESSEL-PREFIX: ready' "$g/prefix-console.log" || { tail -30 "$g/prefix-console.log" >&2; log "no prefix made"; exit 1; }
  rm -rf "$job" "$g/prefix-data.img"
  mv "$g/base.img.new" "$g/base.img"
  echo "$base_key" > "$g/base.stamp"
fi
log "ready in $(( $(date +%s) - started )) s: $g/base.img"
