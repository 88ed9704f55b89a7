#!/usr/bin/env bash
# Redraws the icons in data/icons/ (PNG at 48, 128 and 256 pixels, and SVG) from the two small
# circuits beside them, with the program's own renderer:
# ./scripts/make-icons.sh [FLOWLATTICE_BINARY]   (default: build/flowlattice)
# The application icon shows data/icons/app-icon.xml, the circuit file icon document-icon.xml.
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/flowlattice}
icons=data/icons
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Each circuit's own camera frames it at 256 pixels, and at half the magnification at 128. A whole
# circuit shrunk to 48 pixels is a blur of dots, so the small icon frames only the operator and the
# Print node; so does the scalable one, which desktops draw at the sizes between and below.
draw() { # circuit, icon name
  local source=$icons/$1 copy=$scratch/$1 x y magnification
  read -r x y magnification < <(sed -n 's|.*<Camera X="\([^"]*\)" Y="\([^"]*\)" Magnification="\([^"]*\)".*|\1 \2 \3|p' "$source")
  camera() { sed "s|<Camera [^>]*/>|<Camera X=\"$1\" Y=\"$2\" Magnification=\"$3\"/>|" "$source" >"$copy"; }
  render() { "$binary" --render "$copy" --output "$icons/$2-$1.png" --size "${1}x$1"; }
  camera "$x" "$y" "$magnification" && render 256 "$2"
  camera "$x" "$y" "$(awk "BEGIN { print $magnification / 2 }")" && render 128 "$2"
  camera 44 18 0.55 && render 48 "$2"
  "$binary" --render "$copy" --output "$icons/$2.svg" --size 48x48
}

draw app-icon.xml flowlattice
draw document-icon.xml application-x-flowlattice+xml
ls -l "$icons"/*.png "$icons"/*.svg
