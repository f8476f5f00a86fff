#!/usr/bin/env bash
# desktop_screenshot.sh: starts the desktop emulator in a virtual X display, waits for BASIC's
# READY, and saves a screenshot of the real window.
#   scripts/desktop_screenshot.sh [ROMDIR] [OUTPUT.png] [BUILDDIR]
# Installs Xvfb, xwd and ImageMagick when they are missing (Debian).
set -euo pipefail
cd "$(dirname "$0")/.."
roms=${1:-../shared/roms}
output=${2:-docs/desktop-ready.png}
build=${3:-build}

missing=()
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v xwd >/dev/null || missing+=(x11-apps)
[ -x /usr/bin/convert ] || missing+=(imagemagick)
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
emulator=""
stop() {
  [ -n "$emulator" ] && kill "$emulator" 2>/dev/null && wait "$emulator" 2>/dev/null
  kill "$xvfb" 2>/dev/null || true
  [ -n "${config:-}" ] && rm -rf "$config"
}
trap stop EXIT
sleep 1
# A fresh settings folder, so the window shows its first-run view: the Full picture at scale 2.
# The virtual display has no sound card: SDL's dummy driver keeps the device message away.
config=$(mktemp -d)
XDG_CONFIG_HOME=$config DISPLAY=$display SDL_AUDIODRIVER=dummy "$build/vornce" --roms "$roms" &
emulator=$!
sleep 4
mkdir -p "$(dirname "$output")"
DISPLAY=$display xwd -silent -name "VornCE v. 0.5 (alpha)" | /usr/bin/convert xwd:- "$output"
echo "saved $output"
