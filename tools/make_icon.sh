#!/bin/sh
# Regenerates the program icon files from the drawing assets/icon.svg:
#   assets/icon-32.png   32 x 32 RGBA rendering (window icon, previews)
#   assets/pokomoji.ico  the Windows icon resource: one 32 x 32 image,
#                        8 bits per pixel with a 256-entry palette and a
#                        1-bit transparency mask
# Needs rsvg-convert (librsvg2-bin), convert (ImageMagick) and icotool
# (icoutils). Run from anywhere; paths are taken relative to the repository.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
svg="$root/assets/icon.svg"
png="$root/assets/icon-32.png"
ico="$root/assets/pokomoji.ico"

for tool in rsvg-convert convert icotool; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "make_icon.sh: $tool not found" >&2
        exit 1
    }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

# 1. Full-colour rendering with alpha.
rsvg-convert -w 32 -h 32 "$svg" -o "$tmp/icon-32.png"
# Strip timestamps and other chunks that would make every run differ.
convert "$tmp/icon-32.png" -strip -define png:color-type=6 "PNG32:$png"

# 2. Palette version for the .ico. PNG8 keeps only on/off transparency:
#    the mostly-transparent anti-aliased fringe becomes transparent and the
#    rest opaque, which is what the 1-bit mask of the icon can express.
convert "$png" -colors 256 -strip "PNG8:$tmp/q.png"
icotool -c -b 8 -o "$ico" "$tmp/q.png"

# 3. Check the result: exactly one 32 x 32 image at 8 bits per pixel.
listing=$(icotool -l "$ico")
echo "$listing"
count=$(printf '%s\n' "$listing" | grep -c -- '--icon')
if [ "$count" -ne 1 ]; then
    echo "make_icon.sh: expected one image in $ico, found $count" >&2
    exit 1
fi
printf '%s\n' "$listing" | grep -q -- '--width=32 --height=32 --bit-depth=8 --palette-size=256' || {
    echo "make_icon.sh: $ico is not a single 32x32 8-bit, 256-colour image" >&2
    exit 1
}
echo "wrote $png and $ico"
