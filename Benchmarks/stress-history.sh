#!/bin/bash
# Load and crash cases for kestrixctl's files, each on a simulated world (no root needed):
#  1. SAVERS commands eject at the same time into one history: every event is kept.
#  2. TRIES commands are killed with SIGKILL at random moments while they save: the history is
#     always readable, never loses a recorded event, and the next save removes what they left.
#  3. A world of PROCESSES processes is checked: it finishes, quickly, and names the holder.
#
# usage: Benchmarks/stress-history.sh [SAVERS [TRIES [PROCESSES]]]    (default 100 400 200000)
# KESTRIXCTL=path uses that kestrixctl instead of building one (Release) in BUILD.
set -eu

savers=${1:-100}
tries=${2:-400}
processes=${3:-200000}
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$repo/build-benchmark}

if [ -z "${KESTRIXCTL:-}" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRIX_DESKTOP=OFF >/dev/null
    cmake --build "$build" --target kestrixctl >/dev/null
    KESTRIXCTL=$build/kestrixctl/kestrixctl
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

volume='{"path": "/media/Stick", "name": "Stick", "totalCapacity": 16000000000, "availableCapacity": 8000000000,
  "isEjectable": true, "isRemovable": true, "mountSource": "/dev/sdb1", "fileSystem": "ext4", "device": 2065,
  "deviceProtocol": "USB", "wholeDisk": "sdb"}'
echo "{\"volumes\": [$volume]}" >"$work/world.json"
history=$work/history.json
events() { [ -f "$history" ] && grep -c '"driveName"' "$history" || echo 0; }
eject() { "$KESTRIXCTL" --world "$work/world.json" --history "$history" eject Stick >/dev/null 2>>"$work/errors"; }

# 1. Saves at the same time.
for _ in $(seq "$savers"); do eject & done
wait
if [ "$(events)" -eq "$savers" ]; then pass "$savers saves at once: $savers events kept"
else fail "$savers saves at once: $(events) events kept"; fi

# 2. Saves killed at random moments.
rm -f "$history" "$history.unreadable" "$work/errors"
lost=0
for _ in $(seq "$tries"); do
    before=$(events)
    eject &
    sleep "0.0$((RANDOM % 60 + 10))"
    kill -KILL $! 2>/dev/null || true
    wait $! 2>/dev/null || true
    after=$(events)
    [ "$after" -ge "$before" ] || lost=$((lost + 1))
done
killedMidSave=$(find "$work" -name '.history.json.??????' | wc -l)
eject
leftovers=$(find "$work" -name '.history.json.??????' | wc -l)
if [ "$lost" -eq 0 ] && [ ! -e "$history.unreadable" ] && [ ! -s "$work/errors" ] && [ "$leftovers" -eq 0 ]; then
    pass "$tries saves killed ($killedMidSave mid-write): the history always readable, no event lost, no temporary file left"
else
    fail "$tries saves killed: $lost times fewer events, $leftovers temporary files left, warnings: $(head -3 "$work/errors")"
fi

# 3. A large world.
awk -v count="$processes" -v volume="$volume" 'BEGIN {
    printf "{\"volumes\": [%s], \"processes\": [\n", volume
    for (pid = 2; pid < count + 2; pid++) {
        path = (pid == count + 1) ? "/media/Stick/a" : "/elsewhere"
        printf "{\"pid\": %d, \"name\": \"p%d\", \"uid\": 501, \"openFiles\": [{\"path\": \"%s\", \"device\": %d}]}%s\n",
               pid, pid, path, (pid == count + 1) ? 2065 : 1, (pid == count + 1) ? "" : ","
    }
    print "]}"
}' >"$work/large.json"
started=$(date +%s.%N)
status=0
output=$("$KESTRIXCTL" --world "$work/large.json" check Stick) || status=$?
seconds=$(awk -v from="$started" -v to="$(date +%s.%N)" 'BEGIN { printf "%.2f", to - from }')
if [ "$status" -eq 1 ] && grep -q "^p$((processes + 1))" <<<"$output"; then
    pass "a world of $processes processes checked in $seconds s"
else
    fail "a world of $processes processes: status $status after $seconds s"
fi

exit $((failures > 0))
