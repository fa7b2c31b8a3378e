#!/bin/sh
# The desktop app's costs on this machine: how soon a new mount reaches its drive list (and
# its first holder check), the CPU time it uses over IDLE seconds with nothing happening, and
# its resident memory then. Needs root (loop mounts) and builds what it needs (Release).
#
# usage: sudo Benchmarks/app-benchmark.sh [RUNS [IDLE]]    (default 5 60)
set -eu
runs=${1:-5}
idle=${2:-60}
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$repo/build-benchmark}
[ "$(id -u)" -eq 0 ] || { echo "app-benchmark: needs root to loop-mount a drive" >&2; exit 2; }

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target kestrix app-latency >/dev/null
QT_QPA_PLATFORM=offscreen "$build/Benchmarks/AppLatency/app-latency" "$runs"

# Idle: the app on this machine, in the tray or its window, on a session bus of its own.
work=$(mktemp -d)
trap 'kill "$app" "$bus" 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
set -- $(dbus-daemon --session --fork --print-address=1 --print-pid=1 --nosyslog)
export DBUS_SESSION_BUS_ADDRESS=$1
bus=$2
XDG_CONFIG_HOME=$work QT_QPA_PLATFORM=offscreen "$build/KestrixApp/Shell/kestrix" --history "$work/history.json" \
    --background >/dev/null 2>&1 &
app=$!
sleep 5
ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
before=$(ticks)
sleep "$idle"
after=$(ticks)
hz=$(getconf CLK_TCK)
echo "idle CPU time over $idle s: $(( (after - before) * 1000 / hz )) ms"
echo "resident memory when idle: $(awk '/VmRSS/ { print $2 / 1024 " MiB" }' "/proc/$app/status")"
