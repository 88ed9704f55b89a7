#!/usr/bin/env bash
# Builds the Debian package from a build folder, unpacks it into a scratch root and checks what a
# desktop needs of it: the files in their places, a binary that runs an installed example, a
# valid desktop entry, icons of the sizes they claim, and circuit files recognised by content.
# Usage: DebianPackageTest.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log") || {
  cat "$scratch/cpack.log"
  exit 1
}
debs=("$scratch"/out/flowlattice_*.deb)
[[ -f ${debs[0]} ]] || { fail "no flowlattice_*.deb made"; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libexpat1 fonts-dejavu-core; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
for file in usr/bin/flowlattice usr/share/man/man1/flowlattice.1.gz \
  usr/share/applications/flowlattice.desktop usr/share/mime/packages/flowlattice.xml \
  usr/share/icons/hicolor/scalable/apps/flowlattice.svg \
  usr/share/icons/hicolor/scalable/mimetypes/application-x-flowlattice+xml.svg \
  usr/share/flowlattice/examples/sum.xml usr/share/flowlattice/examples/logic.xml; do
  [[ -f $root/$file ]] || fail "missing /$file"
done

# A PNG's width and height are the two big-endian words at bytes 16 to 23.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'; }
for context in apps/flowlattice mimetypes/application-x-flowlattice+xml; do
  for size in 48 128 256; do
    icon=$share/icons/hicolor/${size}x$size/$context.png
    if [[ ! -f $icon ]]; then
      fail "missing icon ${size}x$size/$context.png"
    elif [[ $(png_size "$icon") != "${size}x$size" ]]; then
      fail "${size}x$size/$context.png is $(png_size "$icon")"
    fi
  done
done

# Image loaders tell an SVG file by its <svg tag within the first bytes (gdk-pixbuf: 256).
for svg in "$share"/icons/hicolor/scalable/*/*.svg; do
  head -c 256 "$svg" | grep -q '<svg' || fail "$(basename "$svg") does not open with its <svg tag"
done

printed=$("$root/usr/bin/flowlattice" --run "$share/flowlattice/examples/sum.xml") ||
  fail "installed --run exited with $?"
[[ $printed == 5 ]] || fail "installed --run printed '$printed', not 5"
"$root/usr/bin/flowlattice" --version | grep -q "^flowlattice [0-9]" || fail "--version"
zcat "$share/man/man1/flowlattice.1.gz" | grep -q '^\.TH FLOWLATTICE 1 .*Flowlattice [0-9]' ||
  fail "manual page header"
zcat "$share/man/man1/flowlattice.1.gz" | grep -q '@' && fail "manual page has an unreplaced @VARIABLE@"
# The example the manual gives runs as written.
example=$(zcat "$share/man/man1/flowlattice.1.gz" | sed -n 's|^flowlattice \\-\\-run \(/.*\)|\1|p')
[[ -n $example && -f $root$example ]] || fail "the manual's --run example '$example' is not in the package"

# Hints are advice (two main categories are wanted here); warnings and errors are not.
desktop=$share/applications/flowlattice.desktop
if desktop-file-validate "$desktop" | grep -E ': (error|warning): '; then
  fail "desktop-file-validate"
fi
grep -qx 'Exec=flowlattice %f' "$desktop" || fail "desktop entry Exec"
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[[ -f $share/icons/hicolor/256x256/apps/$icon_name.png ]] || fail "desktop Icon=$icon_name not installed"

# The type resolves through a database built from the system's types and the package's own.
mkdir -p "$scratch/data/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/flowlattice.xml" \
  "$scratch/data/mime/packages/"
update-mime-database "$scratch/data/mime" >/dev/null 2>&1
printf '<?xml version="1.0"?>\n<other/>\n' >"$scratch/other.xml"
cp "$share/flowlattice/examples/sum.xml" "$scratch/circuit.xml"
cp "$share/flowlattice/examples/sum.xml" "$scratch/circuit-without-extension"
type_of() {
  XDG_DATA_DIRS=$scratch/data XDG_DATA_HOME=$scratch/nothing \
    gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'
}
[[ $(type_of "$scratch/circuit.xml") == application/x-flowlattice+xml ]] ||
  fail "circuit.xml is $(type_of "$scratch/circuit.xml")"
[[ $(type_of "$scratch/circuit-without-extension") == application/x-flowlattice+xml ]] ||
  fail "a circuit without extension is $(type_of "$scratch/circuit-without-extension")"
[[ $(type_of "$scratch/other.xml") == application/xml ]] ||
  fail "another XML file is $(type_of "$scratch/other.xml")"
mime_icon=$(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' "$share/mime/packages/flowlattice.xml")
[[ -f $share/icons/hicolor/48x48/mimetypes/$mime_icon.png ]] || fail "MIME icon $mime_icon not installed"

if ((failures)); then
  echo "$failures failed"
  exit 1
fi
echo "package checks passed"
