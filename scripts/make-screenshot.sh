#!/usr/bin/env bash
# Makes docs/editor.png, the picture at the top of the README: the editor's own window on
# examples/logic.xml after a run, grabbed from a virtual X display.
# ./scripts/make-screenshot.sh [DISPLAY]   (default :14; take a display number nobody else uses)
set -euo pipefail
cd "$(dirname "$0")/.."
display=${1:-:14}
./scripts/install-deps.sh --pictures
./scripts/build.sh build RelWithDebInfo

Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
editor=
trap 'kill $editor $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

build/flowlattice examples/logic.xml &
editor=$!
window=$(xdotool search --sync --onlyvisible --pid "$editor" | head -1)
sleep 1
# Without a window manager the window takes the keyboard only when told to.
xdotool windowfocus --sync "$window"
xdotool key F5
sleep 1
# The pointer on the Or node, so that the status bar shows what hovering tells.
xdotool mousemove --window "$window" 425 259
sleep 1
import -window "$window" docs/editor.png
echo "docs/editor.png: $(identify -format '%wx%h' docs/editor.png)"
