#!/usr/bin/env bash
# realtime_sound.sh: the machine paced by its sound queue through the silent timed output.
#   bench/realtime_sound.sh [ROMDIR] [BUILDDIR]
# Runs 10 emulated seconds with --realtime and prints the wall time (target: 10 s within 5%)
# and the processor time the run used as a share of one core (user + system over wall).
set -euo pipefail
cd "$(dirname "$0")/.."
roms=${1:-${VORNCE_ROMS:-../shared/roms}}
build=${2:-build}
program='10 POKE54296,15:POKE54277,9:POKE54273,28:POKE54276,17:GOTO10\nRUN\n'
report=$(mktemp)
trap 'rm -f "$report"' EXIT
/usr/bin/time -f '%e %U %S' -o "$report" \
  "$build/vornce" --headless --roms "$roms" --seconds 10 --realtime --keybuf "$program" >/dev/null
read -r wall user system <"$report"
awk -v wall="$wall" -v user="$user" -v sys="$system" 'BEGIN {
  printf "10 emulated seconds in %.2f wall seconds (%+.1f%%); processor use %.1f%% of one core (user %.2f s, system %.2f s)\n",
         wall, (wall - 10) * 10, (user + sys) / wall * 100, user, sys
}'
