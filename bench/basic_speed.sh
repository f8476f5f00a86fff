#!/usr/bin/env bash
# basic_speed.sh: how far the same BASIC programs get under the genuine ROMs and under the
# built-in ones in the same emulated time.
#   bench/basic_speed.sh [ROMDIR] [BUILDDIR] [SECONDS]
# Each program is typed at READY and run headless for SECONDS emulated seconds (60 unless given)
# from READY on, once per ROM set. Each round of its inner loop ends by printing the round count
# at the top of the cleared screen, where the screen dump shows the last one. Prints, per
# program, the rounds each set finished and genuine / built-in: how many times slower the
# built-in BASIC is (the aim is 2 or less). Program lines stay under 80 characters, the longest
# line the screen editor takes.
set -euo pipefail
cd "$(dirname "$0")/.."
roms=${1:-${VORNCE_ROMS:-../shared/roms}}
build=${2:-build}
seconds=${3:-60}
[ -f "$roms/basic-901226-01.bin" ] || { echo "basic_speed.sh: no genuine ROM images in $roms" >&2; exit 1; }

names=(float function string array print)
programs=(
  '10 PRINT CHR$(147):FOR R=1 TO 1E9:FOR I=1 TO 20:A=A+I*1.5/3.7-B:B=A*.01:NEXT
20 PRINT CHR$(19);R:NEXT'
  '10 PRINT CHR$(147):FOR R=1 TO 1E9:FOR I=1 TO 10
20 A=SQR(I)+SIN(I)*LOG(I)+I^.3:NEXT:PRINT CHR$(19);R:NEXT'
  '10 PRINT CHR$(147):FOR R=1 TO 1E9:FOR I=1 TO 20:A$=STR$(I)+"ABC"
20 B$=MID$(A$,2,3)+LEFT$(A$,1):C$=C$+B$:IF LEN(C$)>200 THEN C$=""
30 NEXT:PRINT CHR$(19);R:NEXT'
  '10 PRINT CHR$(147):DIM A(100),B%(100),C$(100):FOR R=1 TO 1E9:FOR I=1 TO 20
20 A(I)=A(I-1)+B%(I):B%(I)=I:C$(I)=C$(I-1):NEXT:PRINT CHR$(19);R:NEXT'
  '10 PRINT CHR$(147):FOR R=1 TO 1E9:FOR I=1 TO 20
20 PRINT "HELLO";I;"WORLD",I*2.5;TAB(30);"!":NEXT:PRINT CHR$(19);R:NEXT'
)

# The emulated seconds a ROM set takes from power-on to READY, where the typing starts.
ready() {
  "$build/vornce" --headless "$@" --until-ready 2>&1 >/dev/null | awk '/emulated seconds/ { print $2 }'
}

# The round count a run reached in SECONDS after READY: the first number on the top row.
rounds() {
  local total
  total=$(awk -v a="$seconds" -v b="$(ready "$@")" 'BEGIN { print a + b }')
  "$build/vornce" --headless "$@" --seconds "$total" --dump-screen --keybuf "$program
RUN
" 2>/dev/null | sed -n 1p | awk '{ print $1 + 0 }'
}

printf '%-8s %12s %12s %8s   (rounds in %s emulated seconds)\n' program genuine built-in ratio "$seconds"
for index in "${!names[@]}"; do
  program=${programs[$index]}
  genuine=$(rounds --roms "$roms")
  builtin=$(rounds --builtin-roms)
  awk -v name="${names[$index]}" -v g="$genuine" -v b="$builtin" 'BEGIN {
    printf "%-8s %12d %12d %8s\n", name, g, b, (b > 0 ? sprintf("%.2f", g / b) : "-")
  }'
done
