#!/bin/sh
# Times the quick holder scan (kestrixctl check) against fuser -m and lsof -t on the same
# load: PROCESSES processes that each keep FILES files open, and one more that keeps a file
# open for writing on a loop-mounted ext4 drive. Needs root, mkfs.ext4, losetup, fuser, lsof.
#
# usage: sudo Benchmarks/scan-benchmark.sh [PROCESSES [FILES [RUNS]]]    (default 400 100 5)
# KESTRIXCTL=path uses that kestrixctl instead of building one (Release) in BUILD.
set -eu

processes=${1:-400}
files=${2:-100}
runs=${3:-5}
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$repo/build-benchmark}

[ "$(id -u)" -eq 0 ] || { echo "scan-benchmark: needs root to loop-mount a drive" >&2; exit 2; }

if [ -z "${KESTRIXCTL:-}" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target kestrixctl >/dev/null
    KESTRIXCTL=$build/kestrixctl/kestrixctl
fi
cmake -S "$repo/Benchmarks" -B "$build/Benchmarks" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/Benchmarks" >/dev/null

work=$(mktemp -d)
name=kestrix-bench-$$
mount=/media/$name
loop=
cleanup() {
    exec 3>&- 2>/dev/null || true
    wait 2>/dev/null || true
    if mountpoint -q "$mount" 2>/dev/null; then umount "$mount" || umount -l "$mount"; fi
    [ -n "$loop" ] && losetup -d "$loop"
    rmdir "$mount" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

truncate -s 64M "$work/drive.img"
mkfs.ext4 -q -F "$work/drive.img"
loop=$(losetup -f --show "$work/drive.img")
mkdir -p "$mount" "$work/files"
mount "$loop" "$mount"

# The load lives until its standard input (the fifo, held open on fd 3) closes.
mkfifo "$work/control"
"$build/Benchmarks/scan-load" "$processes" "$files" "$work/files" "$mount/held.txt" <"$work/control" >"$work/holder" &
exec 3>"$work/control"
while [ ! -s "$work/holder" ]; do sleep 0.1; done

now() { date +%s%N; }
# The median wall time of RUNS runs of a command, in seconds.
median() {
    i=0
    while [ "$i" -lt "$runs" ]; do
        start=$(now); "$@" >/dev/null 2>&1 || true; end=$(now)
        echo $(( (end - start) / 1000 ))
        i=$((i + 1))
    done | sort -n | awk '{ t[NR] = $1 } END { printf "%.3f", t[int((NR + 1) / 2)] / 1e6 }'
}

check_time=$(median "$KESTRIXCTL" check "$name" --show-disk-images)
fuser_time=$(median fuser -m "$mount")
lsof_time=$(median lsof -t "$mount")

check_pids=$("$KESTRIXCTL" check "$name" --show-disk-images --json | sed -n 's/^ *"pid": \([0-9]*\).*/\1/p' | sort -n | tr '\n' ' ')
fuser_pids=$(fuser -m "$mount" 2>/dev/null | tr -s ' ' '\n' | grep . | sort -n | tr '\n' ' ')
lsof_pids=$(lsof -t "$mount" 2>/dev/null | sort -n | tr '\n' ' ')

echo "load: $processes processes x $files open files, $(nproc) cores, median of $runs runs"
echo "kestrixctl check: ${check_time} s   holders: $check_pids"
echo "fuser -m:         ${fuser_time} s   holders: $fuser_pids"
echo "lsof -t:          ${lsof_time} s   holders: $lsof_pids"
if [ "$check_pids" = "$fuser_pids" ] && [ "$check_pids" = "$lsof_pids" ]; then
    echo "results: identical"
else
    echo "results: DIFFER"
    exit 1
fi
