#!/usr/bin/env bash
# Makes real JPEG files for the photo tests with ImageMagick, dated with
# exiftool. Usage: make-test-photos.sh <folder> [--bench]
#   <folder>/camera-ii.jpg, camera-mm.jpg  APP1 first, DateTimeOriginal 2011:05:02,
#                                           DateTimeDigitized 2011:05:03, both byte orders
#   <folder>/jfif-exif.jpg                  JFIF APP0 first, then the EXIF segment
#   <folder>/digitized-only.jpg             only DateTimeDigitized 2012:08:09
#   <folder>/no-exif.jpg                    a plain JFIF file
#   <folder>/landscape-3264x2448.jpg, portrait-2448x3264.jpg, small-40x30.jpg,
#            sliver-1x1000.jpg                                      red pictures
#   <folder>/noise-4200x3150.jpg            fine random noise, channel means 180, 120, 60
#   <folder>/turned-6.jpg                   stored 4000 x 3000, left half red, right half
#                                           blue, EXIF Orientation 6 (upright: red on top)
#   <folder>/thumb-3x2.jpg                  6000 x 4000 blue, with a camera's thumbnail:
#                                           160 x 120 green, black bands of 7 rows
#   <folder>/frame-16000x12000-thumb.jpg    a frame header of 16000 x 12000 and nothing
#                                           after it, with a camera's 80 x 60 green thumbnail
#   <folder>/frame-16000x12000.jpg          the same without the thumbnail
# With --bench instead <folder>/bench/ (1,000 dated files) and photo-24mp.jpg
# (6000 x 4000). With --camera instead <folder>/camera/camera-<N>mp.jpg and
# camera-<N>mp-thumb.jpg for N = 24, 50 (3:2), 100 and 200 (4:3): dated
# photos with detail, the second with a camera's 160 x 120 thumbnail of itself
# (padded with black bands for 3:2). Writes a stamp (.done, .bench-done,
# .camera-done) last; an existing stamp skips the work.
set -euo pipefail
dir=${1:?usage: make-test-photos.sh <folder> [--bench]}
bench=${2:-}
mode=${bench:-plain}
tools="convert exiftool python3"
[ "$mode" = --camera ] && tools="$tools cjpeg"
for tool in $tools; do
  command -v $tool >/dev/null || { echo "make-test-photos: $tool missing (scripts/install-deps.sh)" >&2; exit 1; }
done
stamp=$dir/.done
[ "$bench" = --bench ] && stamp=$dir/.bench-done
[ "$bench" = --camera ] && stamp=$dir/.camera-done
[ -f "$stamp" ] && exit 0
mkdir -p "$dir"
tmp=$(mktemp -d "$dir/.tmp.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

picture() {  # picture <file> <size> [colour]
  convert -size "$2" "xc:${3:-red}" -quality 85 "$1"
}
date_it() {  # date_it <file> <exiftool arguments...>
  local f=$1
  shift
  exiftool -q -overwrite_original -Make=Tessel -Model=TestCam "$@" "$f"
}

# Doubles a binary 8-bit PPM in both directions (nearest neighbour), stdin
# to stdout: ImageMagick's policy here refuses pictures over 16,000 pixels.
double_ppm() {
  python3 -c '
import sys
src, out = sys.stdin.buffer, sys.stdout.buffer
src.readline()
w, h = map(int, src.readline().split())
src.readline()
out.write(b"P6\n%d %d\n255\n" % (2 * w, 2 * h))
for _ in range(h):
    row = src.read(3 * w)
    big = bytearray(6 * w)
    for c in range(3):
        big[c::6] = row[c::3]
        big[3 + c::6] = row[c::3]
    out.write(big + big)
'
}

# Gives a JPEG file's frame header the size <width> x <height> and cuts the
# file right after it: a photo whose picture data is lost.
cut_after_frame() {  # cut_after_frame <file> <width> <height>
  python3 - "$@" <<'EOF'
import sys
path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
data = bytearray(open(path, "rb").read())
pos = 2
while data[pos] == 0xFF:
    marker, length = data[pos + 1], (data[pos + 2] << 8) | data[pos + 3]
    if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
        data[pos + 5:pos + 9] = height.to_bytes(2, "big") + width.to_bytes(2, "big")
        open(path, "wb").write(data[:pos + 2 + length])
        sys.exit(0)
    pos += 2 + length
sys.exit("make-test-photos: no frame header in " + path)
EOF
}

if [ "$bench" = --camera ]; then
  mkdir -p "$tmp/camera"
  for size in 24:3000x2000 50:4344x2896 100:5824x4368 200:8160x6120; do
    n=${size%%:*} half=${size#*:}
    f=$tmp/camera/camera-${n}mp.jpg
    convert -size "$half" plasma:fractal -seed "$n" -depth 8 "$tmp/half.ppm"
    double_ppm < "$tmp/half.ppm" | cjpeg -quality 90 > "$f"
    w=${half%x*} h=${half#*x}
    if [ $((w * 2)) -eq $((h * 3)) ]; then
      convert "$tmp/half.ppm" -resize '160x106!' -bordercolor black -border 0x7 -quality 90 "$tmp/thumb.jpg"
    else
      convert "$tmp/half.ppm" -resize '160x120!' -quality 90 "$tmp/thumb.jpg"
    fi
    date_it "$f" -ExifByteOrder=II '-DateTimeOriginal=2011:05:02 10:15:30'
    cp "$f" "${f%.jpg}-thumb.jpg"
    exiftool -q -overwrite_original '-ThumbnailImage<='"$tmp/thumb.jpg" "${f%.jpg}-thumb.jpg"
  done
  rm -rf "$dir/camera"
  mv "$tmp/camera" "$dir/camera"
elif [ "$bench" != --bench ]; then
  picture "$tmp/camera-ii.jpg" 320x240
  date_it "$tmp/camera-ii.jpg" -JFIF:all= -ExifByteOrder=II \
    '-DateTimeOriginal=2011:05:02 10:15:30' '-CreateDate=2011:05:03 08:00:00'
  picture "$tmp/camera-mm.jpg" 320x240 blue
  date_it "$tmp/camera-mm.jpg" -JFIF:all= -ExifByteOrder=MM \
    '-DateTimeOriginal=2011:05:02 10:15:30' '-CreateDate=2011:05:03 08:00:00'
  picture "$tmp/jfif-exif.jpg" 160x120 green
  date_it "$tmp/jfif-exif.jpg" -ExifByteOrder=II '-DateTimeOriginal=2011:05:02 10:15:30'
  picture "$tmp/digitized-only.jpg" 160x120 yellow
  date_it "$tmp/digitized-only.jpg" -JFIF:all= -ExifByteOrder=MM '-CreateDate=2012:08:09 07:06:05'
  picture "$tmp/no-exif.jpg" 160x120 white
  picture "$tmp/landscape-3264x2448.jpg" 3264x2448
  picture "$tmp/portrait-2448x3264.jpg" 2448x3264
  picture "$tmp/small-40x30.jpg" 40x30
  picture "$tmp/sliver-1x1000.jpg" 1x1000
  # Each channel uniform within 50 of its mean, pixel by pixel.
  convert -size 4200x3150 xc:black -seed 11 +noise Random -evaluate multiply 0.392 \
    -channel R -evaluate add 51% -channel G -evaluate add 27.45% -channel B -evaluate add 3.92% \
    +channel -quality 85 "$tmp/noise-4200x3150.jpg"
  convert -size 2000x3000 xc:red -size 2000x3000 xc:blue +append -quality 85 "$tmp/turned-6.jpg"
  exiftool -q -overwrite_original -n -Orientation=6 "$tmp/turned-6.jpg"
  convert -size 160x106 xc:lime -bordercolor black -border 0x7 -quality 90 "$tmp/thumb.jpg"
  picture "$tmp/thumb-3x2.jpg" 6000x4000 blue
  exiftool -q -overwrite_original '-ThumbnailImage<='"$tmp/thumb.jpg" "$tmp/thumb-3x2.jpg"
  convert -size 80x60 xc:lime -quality 90 "$tmp/thumb.jpg"
  picture "$tmp/frame-16000x12000.jpg" 64x48 blue
  cp "$tmp/frame-16000x12000.jpg" "$tmp/frame-16000x12000-thumb.jpg"
  exiftool -q -overwrite_original '-ThumbnailImage<='"$tmp/thumb.jpg" "$tmp/frame-16000x12000-thumb.jpg"
  cut_after_frame "$tmp/frame-16000x12000.jpg" 16000 12000
  cut_after_frame "$tmp/frame-16000x12000-thumb.jpg" 16000 12000
  rm "$tmp/thumb.jpg"
  mv "$tmp"/*.jpg "$dir"/
else
  # A thousand files of a few kinds, dated in one exiftool run per kind.
  mkdir -p "$tmp/bench"
  kinds=(II:640x480 MM:1024x768 II:320x240 MM:800x600)
  for k in "${!kinds[@]}"; do
    order=${kinds[$k]%%:*} size=${kinds[$k]#*:}
    picture "$tmp/kind$k.jpg" "$size" "rgb($((k * 60)),120,200)"
    date_it "$tmp/kind$k.jpg" -JFIF:all= -ExifByteOrder=$order "-DateTimeOriginal=2011:05:0$((k + 1)) 10:15:30"
    for i in $(seq $k 4 999); do cp "$tmp/kind$k.jpg" "$(printf '%s/bench/PICT%04d.jpg' "$tmp" "$i")"; done
  done
  rm -rf "$dir/bench"
  mv "$tmp/bench" "$dir/bench"
  # A 24-megapixel photo with detail, so that decoding it costs what a real one does.
  convert -size 6000x4000 plasma:fractal -seed 7 -quality 90 "$tmp/photo-24mp.jpg" 2>/dev/null \
    || convert -size 6000x4000 xc:gray +noise Gaussian -quality 90 "$tmp/photo-24mp.jpg"
  date_it "$tmp/photo-24mp.jpg" -ExifByteOrder=II '-DateTimeOriginal=2011:05:02 10:15:30'
  mv "$tmp/photo-24mp.jpg" "$dir"/
fi
touch "$stamp"
