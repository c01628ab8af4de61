#!/usr/bin/env bash
# Regenerates the program's image assets in this folder:
#   picture.jpg  - about-box art, 920x546 baseline JPEG, padded to 77,468 bytes
#   kelvane.ico  - program icon, 256 (PNG) / 128 / 48 / 32 / 16 (32-bit DIB)
#   tray.ico     - single 72x72 32-bit icon, 21,662 bytes
# Rendering is done by ImageMagick; make_assets.py writes and checks the files.
# Usage: bash resources/make_assets.sh   (from any directory)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
IM=/usr/bin/convert
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
PICTURE_BYTES=77468
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# No timestamps or other metadata in anything ImageMagick writes.
clean=(-strip +set date:create +set date:modify -define png:exclude-chunks=date,time)

# --- About-box picture: blue-teal gradient, soft circles, a few waves, the name.
art=(-size 920x546 -define gradient:direction=SouthEast gradient:'#173a78-#2fb8a6'
  \( -size 920x546 xc:none -fill 'rgba(255,255,255,0.10)'
     -draw 'circle 760,130 760,350' -draw 'circle 140,470 140,620'
     -fill 'rgba(255,255,255,0.07)' -draw 'circle 470,40 470,230'
     -draw 'circle 880,500 880,590' -fill 'rgba(10,30,70,0.12)'
     -draw 'circle 250,110 250,200' -blur 0x4 \) -composite
  -fill 'rgba(255,255,255,0.08)' -draw "path 'M 0,420 C 220,350 480,520 920,390 L 920,546 L 0,546 Z'"
  -fill 'rgba(255,255,255,0.07)' -draw "path 'M 0,470 C 300,410 560,560 920,450 L 920,546 L 0,546 Z'"
  -fill 'rgba(255,255,255,0.30)'
  -draw "path 'M 0,440 C 260,375 520,525 920,415 L 920,418 C 520,528 260,378 0,443 Z'")
if [[ -r "$FONT" ]]; then
  art+=(-font "$FONT" -pointsize 128 -gravity center
    -fill 'rgba(0,20,50,0.30)' -annotate +4-26 'Kelvane'
    -fill 'rgba(255,255,255,0.94)' -annotate +0-30 'Kelvane' -gravity northwest)
fi
"$IM" "${art[@]}" -alpha off "${clean[@]}" "PNG24:$work/picture.png"

# Highest quality whose encoding leaves room for at least one comment segment.
quality=
for q in $(seq 98 -1 50); do
  "$IM" "$work/picture.png" -type TrueColor -colorspace sRGB -sampling-factor 1x1 \
    -interlace none -quality "$q" "${clean[@]}" "JPEG:$work/picture.jpg"
  if (( $(stat -c%s "$work/picture.jpg") <= PICTURE_BYTES - 4 )); then quality=$q; break; fi
done
[[ -n "$quality" ]] || { echo "make_assets: no JPEG quality fits $PICTURE_BYTES bytes" >&2; exit 1; }
echo "picture.jpg: JPEG quality $quality, $(stat -c%s "$work/picture.jpg") bytes before padding"

# --- Icon mark: rounded teal square with a white "K", drawn large then scaled down.
"$IM" -size 1024x1024 gradient:'#35cdb9-#0f6f86' \
  \( -size 1024x1024 xc:black -fill white -draw 'roundrectangle 48,48 975,975 210,210' \) \
  -alpha off -compose CopyOpacity -composite -compose Over \
  -fill 'rgba(255,255,255,0.10)' -draw 'ellipse 512,140 420,170 0,360' \
  -fill white \
  -draw 'polygon 292,232 422,232 422,792 292,792' \
  -draw 'polygon 360,560 640,232 800,232 422,700' \
  -draw 'polygon 480,450 800,792 640,792 380,590' \
  "${clean[@]}" "PNG32:$work/mark.png"
for s in 256 128 72 48 32 16; do
  "$IM" "$work/mark.png" -filter Lanczos -resize "${s}x${s}" -depth 8 "RGBA:$work/mark_$s.rgba"
done

/usr/bin/env python3 "$here/make_assets.py" "$work" "$here"
