#!/bin/sh
# The desktop app's costs on this machine: how soon a new mount reaches its drive list (and
# its first holder check), the CPU time it uses over IDLE seconds with nothing happening, and
# its resident memory then; its resident memory at start, after opening and closing every window
# and after 100 ejects (on the display DISPLAY names, else offscreen); and what `kestrix --action`
# costs beside `gdbus call` on the same method. Needs root (loop mounts) and builds what it needs
# (Release). ACTIONS_ONLY=1 measures only the actions, which needs no root.
#
# usage: sudo Benchmarks/app-benchmark.sh [RUNS [IDLE [CALLS]]]    (default 5 60 40)
set -eu
runs=${1:-5}
idle=${2:-60}
calls=${3:-40}
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$repo/build-benchmark}
actions_only=${ACTIONS_ONLY:-0}
[ "$actions_only" = 1 ] || [ "$(id -u)" -eq 0 ] || { echo "app-benchmark: needs root to loop-mount a drive" >&2; exit 2; }

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target kestrix app-latency app-memory >/dev/null

# `kestrix --action eject NAME` and `gdbus call` of the method it calls, in turn, against one
# app on a simulated system of its own and a session bus of its own; the median wall time of
# each. The name matches no drive, so the app answers at once and the start-up is what counts.
milliseconds() { echo $(( $(date +%s%N) / 1000000 )); }
median() { sort -n | awk '{ all[NR] = $1 } END { print all[int((NR + 1) / 2)] }'; }
measure_actions() {
    work=$(mktemp -d)
    set -- $(dbus-daemon --session --fork --print-address=1 --print-pid=1 --nosyslog)
    bus=$2
    XDG_CONFIG_HOME=$work QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS=$1 "$build/KestrixApp/Shell/kestrix" \
        --world "$repo/kestrixctl/Tests/Data/empty-world.json" --history "$work/history.json" --background \
        >/dev/null 2>&1 &
    app=$!
    export DBUS_SESSION_BUS_ADDRESS=$1
    sleep 3
    : >"$work/action"; : >"$work/gdbus"
    i=0
    while [ "$i" -lt "$calls" ]; do
        start=$(milliseconds)
        "$build/KestrixApp/Shell/kestrix" --action eject Nowhere >/dev/null 2>&1 || true
        echo $(( $(milliseconds) - start )) >>"$work/action"
        start=$(milliseconds)
        gdbus call --session -d com.orvane.Kestrix -o /com/orvane/Kestrix \
            -m com.orvane.Kestrix.EjectDriveWithOutcome Nowhere >/dev/null 2>&1 || true
        echo $(( $(milliseconds) - start )) >>"$work/gdbus"
        i=$((i + 1))
    done
    action=$(median <"$work/action")
    gdbus=$(median <"$work/gdbus")
    echo "kestrix --action eject: $action ms; gdbus call on the same method: $gdbus ms (median of $calls;" \
        "$(awk -v a="$action" -v g="$gdbus" 'BEGIN { printf "%.2f", a / g }')x)"
    kill "$app" "$bus" 2>/dev/null || true
    unset DBUS_SESSION_BUS_ADDRESS
    rm -rf "$work"
}
measure_actions
[ "$actions_only" = 1 ] && exit 0

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
echo "resident memory when idle: $(awk '/VmRSS/ { print $2 / 1024 " MiB" }' "/proc/$app/status")" \
    "(proportional $(awk '/^Pss:/ { print $2 / 1024 " MiB" }' "/proc/$app/smaps_rollup"))"

# The same shell as a user goes through it, on the desktop of this session when there is one.
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
mkdir -p "$work/memory"
"$build/Benchmarks/AppMemory/app-memory" "$work/memory"
