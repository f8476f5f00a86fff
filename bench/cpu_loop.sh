#!/usr/bin/env bash
# cpu_loop.sh: the machine running a CPU-heavy BASIC loop, then idling at READY, for 60 emulated
# seconds each, unpaced.
#   bench/cpu_loop.sh [ROMDIR] [BUILDDIR]
# As in every headless run, only the last picture is drawn and presented. Prints, for three runs
# of each, the runner's speed line and the peak memory with the processor time (targets: at least
# 400 times real time on the loop and 600 at READY, on one core; peak memory under 20 MiB). On a
# busy machine the processor time (60 s divided by it) is the steadier speed figure.
set -euo pipefail
cd "$(dirname "$0")/.."
roms=${1:-${VORNCE_ROMS:-../shared/roms}}
build=${2:-build}
[ -x /usr/bin/time ] || { echo "cpu_loop.sh: needs /usr/bin/time (Debian package time)" >&2; exit 1; }
program='10 A=A+1:B=A*3.5:C=B/7+SIN(A):IF A<1E9 THEN 10\nRUN\n'
run() {
  /usr/bin/time -f "peak memory %M KiB, processor time %U s user, %S s system" \
    "$build/vornce" --headless --roms "$roms" --seconds 60 "$@" --dump-screen 2>&1 >/dev/null
}
echo "BASIC loop:"
for _ in 1 2 3; do run --keybuf "$program"; done
echo "idle at READY:"
for _ in 1 2 3; do run; done
