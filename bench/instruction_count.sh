#!/usr/bin/env bash
# instruction_count.sh: host instructions the machine needs for 10 emulated seconds of the BASIC
# loop of cpu_loop.sh and of an idle READY screen, counted by valgrind's callgrind. Unlike the
# time a run takes, the count hardly changes with the load other programs put on the machine,
# so it compares two builds on a busy machine.
#   bench/instruction_count.sh [ROMDIR] [BUILDDIR]
# Prints one line per run: its name and the instructions executed (the whole program, start-up
# included; a run without a program shows what start-up and READY cost).
set -euo pipefail
cd "$(dirname "$0")/.."
roms=${1:-${VORNCE_ROMS:-../shared/roms}}
build=${2:-build}
command -v valgrind >/dev/null || { echo "instruction_count.sh: needs valgrind" >&2; exit 1; }
program='10 A=A+1:B=A*3.5:C=B/7+SIN(A):IF A<1E9 THEN 10\nRUN\n'
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
count() {
  local name=$1
  shift
  valgrind --tool=callgrind --callgrind-out-file="$out/$name" "$build/vornce" --headless --roms "$roms" \
    --seconds 10 "$@" >/dev/null 2>"$out/$name.log"
  printf '%-12s %s instructions\n' "$name" "$(sed -n 's/^summary: //p' "$out/$name")"
}
count basic-loop --keybuf "$program"
count ready
