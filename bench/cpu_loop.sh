#!/usr/bin/env bash
# cpu_loop.sh: the machine running a CPU-heavy BASIC loop for 60 emulated seconds, unpaced.
#   bench/cpu_loop.sh [ROMDIR] [BUILDDIR]
# Prints the runner's speed line for three runs (target: at least 250 times real time on one
# core).
set -euo pipefail
cd "$(dirname "$0")/.."
roms=${1:-${VORNCE_ROMS:-../shared/roms}}
build=${2:-build}
program='10 A=A+1:B=A*3.5:C=B/7+SIN(A):IF A<1E9 THEN 10\nRUN\n'
for run in 1 2 3; do
  "$build/vornce" --headless --roms "$roms" --seconds 60 --keybuf "$program" --dump-screen 2>&1 >/dev/null
done
