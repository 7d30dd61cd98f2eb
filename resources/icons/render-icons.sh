#!/bin/sh
# Renders the program's .ico files from the SVG drawings beside this script.
# Needs rsvg-convert (Debian package librsvg2-bin) and icotool (Debian package icoutils).
set -eu

cd "$(dirname "$0")"

need() {
    if ! command -v "$1" >/dev/null 2>&1; then
        echo "render-icons.sh: $1 is missing; install the Debian package $2" >&2
        exit 1
    fi
}
need rsvg-convert librsvg2-bin
need icotool icoutils

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# png NAME SVG SIZE: draws SVG at SIZE x SIZE into the work folder.
png() {
    rsvg-convert --width "$3" --height "$3" --output "$work/$1-$3.png" "$2"
}

# The program icon: the detailed drawing down to 32 pixels, the simplified one below that.
for size in 128 64 48 32; do
    png keyloom keyloom.svg "$size"
done
for size in 24 16; do
    png keyloom keyloom-small.svg "$size"
done
icotool --create --bit-depth=32 --output=keyloom.ico \
    "$work"/keyloom-128.png "$work"/keyloom-64.png "$work"/keyloom-48.png \
    "$work"/keyloom-32.png "$work"/keyloom-24.png "$work"/keyloom-16.png

# The message icons are shown at 32 pixels only.
for name in success warning error hint retry; do
    png "$name" "$name.svg" 32
    icotool --create --bit-depth=32 --output="$name.ico" "$work/$name-32.png"
done
