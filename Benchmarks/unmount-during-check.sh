#!/bin/sh
# Unmounts a drive while `kestrixctl check` runs, TRIES times, at random moments in its first 20 ms
# (while it lists the drives and starts the scan), with PROCESSES
# busy processes (each keeping 50 files open off the drive) so that the scan takes a while.
# Nothing ever holds the drive: every check must find nothing, or not find the drive; a single
# reported holder is a false one and fails the run. Needs root, mkfs.ext4 and losetup.
#
# usage: sudo Benchmarks/unmount-during-check.sh [TRIES [PROCESSES]]    (default 200 400)
# KESTRIXCTL=path uses that kestrixctl instead of building one (Release) in BUILD.
set -eu

tries=${1:-200}
processes=${2:-400}
[ "$(id -u)" -eq 0 ] || { echo "unmount-during-check: needs root to loop-mount a drive" >&2; exit 2; }
. "$(dirname "$0")/build-tools.sh"

make_loop_drive kestrix-vanish-$$

# The load lives until its standard input (the fifo, held open on fd 3) closes.
mkfifo "$work/control"
"$SCAN_LOAD" "$processes" 50 "$work/files" "$work/held.txt" <"$work/control" >"$work/holder" &
exec 3>"$work/control"
while [ ! -s "$work/holder" ]; do sleep 0.1; done

nothing=0
missing=0
false_holders=0
try=1
while [ "$try" -le "$tries" ]; do
    mount "$loop" "$mount"
    "$KESTRIXCTL" check "$name" --show-disk-images --json >"$work/out" 2>"$work/err" &
    check=$!
    sleep "$(awk -v seed="$try" 'BEGIN { srand(seed); printf "%.3f", rand() * 0.02 }')"
    umount "$mount" || umount -l "$mount"
    wait "$check" || true
    if grep -q '"pid"' "$work/out"; then
        false_holders=$((false_holders + 1))
        echo "try $try: false holders: $(sed -n 's/^ *"pid": \([0-9]*\).*/\1/p' "$work/out" | tr '\n' ' ')"
    elif [ -s "$work/out" ]; then
        nothing=$((nothing + 1))
    else
        missing=$((missing + 1))
    fi
    try=$((try + 1))
done

echo "$tries checks: $nothing found nothing, $missing did not find the drive, $false_holders reported holders"
[ "$false_holders" -eq 0 ]
