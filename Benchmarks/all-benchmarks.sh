#!/bin/sh
# Every benchmark in one run, each headed by the load average as it starts, so that each figure
# and its peer come from the same machine in the same state. Run it inside a desktop session
# (DISPLAY set) for the app's memory on a real desktop; otherwise the app runs offscreen.
# Needs root. Takes about a quarter of an hour on 2 cores.
#
# usage: sudo Benchmarks/all-benchmarks.sh
set -eu
here=$(cd "$(dirname "$0")" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "all-benchmarks: needs root to loop-mount drives" >&2; exit 2; }

section() { printf '\n== %s (load average %s)\n' "$1" "$(cut -d' ' -f1-3 /proc/loadavg)"; }

echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, kernel $(uname -r)"
section "holder scan, 400 processes x 100 files"
"$here/scan-benchmark.sh" 400 100 9
section "holder scan, 2,000 processes x 200 files"
"$here/scan-benchmark.sh" 2000 200 5
section "holder scan, 5,000 processes x 80 files"
"$here/scan-benchmark.sh" 5000 80 5
section "eject once the drive is free"
"$here/eject-benchmark.sh" 9
section "the desktop app"
"$here/app-benchmark.sh" 5 60 40
section "done"
