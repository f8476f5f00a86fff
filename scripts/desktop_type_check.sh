#!/usr/bin/env bash
# desktop_type_check.sh: types "print 2+2" and RETURN into the real window with xdotool (fast
# taps, 12 ms apart) under a virtual X display, and compares the window's C64 picture with the
# headless runner's picture of --keybuf 'print 2+2\n'. Every key must arrive, as itself.
#   scripts/desktop_type_check.sh [ROMDIR] [BUILDDIR]
# Prints the number of differing pixels and exits 0 when the pictures match.
set -euo pipefail
cd "$(dirname "$0")/.."
roms=${1:-../shared/roms}
build=${2:-build}
for tool in Xvfb xdotool xwd convert compare; do
  command -v "$tool" >/dev/null || { echo "desktop_type_check: $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d)
display=:$((70 + RANDOM % 19))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
emulator=""
stop() {
  [ -n "$emulator" ] && kill "$emulator" 2>/dev/null && wait "$emulator" 2>/dev/null
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap stop EXIT
sleep 1

# A fresh settings folder: the window opens in the Full picture view, at scale 1. A runtime
# folder, as a desktop session has one, keeps Qt from remarking on its absence.
mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config DISPLAY=$display "$build/vornce" --roms "$roms" --scale 1 2>"$work/stderr" &
emulator=$!
sleep 4
window=$(DISPLAY=$display xdotool search --name "VornCE v. 0.5")
DISPLAY=$display xdotool windowfocus --sync "$window"
DISPLAY=$display xdotool type --delay 12 "print 2+2"
DISPLAY=$display xdotool key Return
sleep 2
DISPLAY=$display xwd -silent -id "$window" | convert xwd:- "$work/window.png"

"$build/vornce" --headless --roms "$roms" --keybuf 'print 2+2\n' --seconds 5 --landscape \
  --screenshot "$work/headless.png" >/dev/null 2>&1

# The C64 picture: in the window 32 pixels inside the border, below the menu bar; headless, the
# top 200 rows of the rotated layout. The cursor's cell below the second READY. (row 10, column
# 0) blinks, so it is blanked in both.
height=$(identify -format %h "$work/window.png")
top=$((height - 264 + 32))
convert "$work/window.png" -crop "320x200+32+$top" +repage -fill black -draw "rectangle 0,80 7,87" "$work/a.png"
convert "$work/headless.png" -crop 320x200+0+0 +repage -fill black -draw "rectangle 0,80 7,87" "$work/b.png"
differing=$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)
cp "$work/a.png" "$work/b.png" "${VORNCE_CHECK_KEEP:-$work}/" 2>/dev/null || true
echo "differing pixels: $differing"
echo "stderr of the window: $(wc -l <"$work/stderr") line(s)"
cat "$work/stderr"
[ "$differing" = "0" ]
