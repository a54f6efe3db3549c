# Sourced: starting the emulated 32-bit PC and moving files in and out of it.
# The PC is qemu-system-i386 under TCG (no KVM here), two CPUs with
# multi-threaded TCG, booting the Debian i386 kernel with the initramfs of
# guest-build.sh. Disk 1 (vda) is the root image, disk 2 (vdb) the job disk:
# an ext4 image made here from a folder, holding job.sh and its files; the
# guest writes its results onto it and the host reads them back with debugfs.

# guest_data_disk <folder> <image> <size>: an ext4 image of the folder.
guest_data_disk() {
  rm -f "$2"
  # (mke2fs -q still names the file it creates)
  mke2fs -q -t ext4 -O ^metadata_csum,^64bit,^has_journal -L tessel-data -d "$1" "$2" "$3" > /dev/null
}

# guest_boot <guest folder> <root image> <job disk> <console log> <timeout s> [write]
# Boots the PC and waits until it powers off. Without "write" the root image
# is used as a snapshot: the guest's writes to it are thrown away.
# Returns 0 when the guest reached the end of its job and powered off.
guest_boot() {
  local g=$1 rootimg=$2 data=$3 console=$4 limit=$5 mode=${6:-snapshot}
  local snap=,snapshot=on
  [ "$mode" = write ] && snap=
  local status=0
  timeout --kill-after=10 "$limit" qemu-system-i386 \
    -accel tcg,thread=multi -smp 2 -m 2048 -cpu max,smap=off \
    -display none -monitor none -serial stdio -no-reboot -nic none \
    -kernel "$g/vmlinuz" -initrd "$g/initrd.img" \
    -append "console=ttyS0 quiet panic=-1 rdinit=/init" \
    -drive "file=$rootimg,format=raw,if=virtio$snap" \
    -drive "file=$data,format=raw,if=virtio" \
    < /dev/null > "$console" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    echo "guest: qemu ended with status $status (124: the guest ran past ${limit} s)" >> "$console"
    return 1
  fi
  grep -q '^TESSEL-GUEST: job ended' "$console"
}

# guest_fetch <job disk> <folder in the guest's /data> <destination folder>
guest_fetch() {
  mkdir -p "$3"
  debugfs -R "rdump $2 $3" "$1" > /dev/null 2>&1
}
