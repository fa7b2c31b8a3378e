#!/bin/sh
# Times the quick and the deep holder scan (kestrixctl check, check --deep) against fuser -m and
# lsof -t on the same load: PROCESSES processes that each keep FILES files open, and one more
# that keeps a file open for writing on a loop-mounted ext4 drive. The four run in turn, RUNS
# times, so that a busy machine slows them alike; each gets its median wall and processor time,
# its time per open file, and its peak resident memory. Then scan-cost times the quick scan
# without and with the kernel-holder checks, in turn within one process, for their added cost.
# Needs root, mkfs.ext4, losetup, fuser, lsof and /usr/bin/time.
#
# usage: sudo Benchmarks/scan-benchmark.sh [PROCESSES [FILES [RUNS]]]    (default 400 100 9)
# KESTRIXCTL=path uses that kestrixctl instead of building one (Release) in BUILD.
set -eu

processes=${1:-400}
files=${2:-100}
runs=${3:-9}
[ "$(id -u)" -eq 0 ] || { echo "scan-benchmark: needs root to loop-mount a drive" >&2; exit 2; }
. "$(dirname "$0")/build-tools.sh"

make_loop_drive kestrix-bench-$$
mount "$loop" "$mount"

# The load lives until its standard input (the fifo, held open on fd 3) closes.
mkfifo "$work/control"
"$SCAN_LOAD" "$processes" "$files" "$work/files" "$mount/held.txt" <"$work/control" >"$work/holder" &
exec 3>"$work/control"
while [ ! -s "$work/holder" ]; do sleep 0.1; done

# One run of a command: its wall time and its processor time (user + system), in seconds, and
# its peak resident memory in KiB, as "WALL CPU PEAK". The processor time shows what a quiet
# machine would show when others share it.
timed() {
    /usr/bin/time -o "$work/time" -f "%e %U %S %M" "$@" >/dev/null 2>&1 || true
    # The last line: a failing command's status comes first.
    tail -n 1 "$work/time" | awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }'
}
i=0
while [ "$i" -lt "$runs" ]; do
    timed "$KESTRIXCTL" check "$name" --show-disk-images >>"$work/quick"
    timed "$KESTRIXCTL" check "$name" --show-disk-images --deep >>"$work/deep"
    timed fuser -m "$mount" >>"$work/fuser"
    timed lsof -t "$mount" >>"$work/lsof"
    i=$((i + 1))
done
# The median of one column of a file of times.
median() { cut -d' ' -f"$2" "$1" | sort -n | awk '{ t[NR] = $1 } END { printf "%.3f", t[int((NR + 1) / 2)] }'; }
# The fastest and slowest wall times.
spread() { cut -d' ' -f1 "$1" | sort -n | awk 'NR == 1 { a = $1 } { b = $1 } END { printf "%s-%s", a, b }'; }
ratio() { awk -v a="$(median "$1" "$2")" -v b="$(median "$work/fuser" "$2")" 'BEGIN { printf "%.2f", a / b }'; }
# Wall time per open file of the load, in microseconds, and peak memory in MiB.
per_file() { awk -v t="$(median "$1" 1)" -v n="$((processes * files))" 'BEGIN { printf "%.2f", t * 1e6 / n }'; }
peak() { awk -v k="$(median "$1" 3)" 'BEGIN { printf "%.1f", k / 1024 }'; }
row() {
    echo "$(median "$1" 1) s  $(ratio "$1" 1)x fuser  (runs $(spread "$1") s)  cpu $(median "$1" 2) s  $(ratio "$1" 2)x" \
        " $(per_file "$1") us/file  peak $(peak "$1") MiB"
}

holders_of() { "$KESTRIXCTL" check "$name" --show-disk-images --json "$@" | sed -n 's/^ *"pid": \([0-9]*\).*/\1/p' | sort -n | tr '\n' ' '; }
quick_pids=$(holders_of)
deep_pids=$(holders_of --deep)
fuser_pids=$(fuser -m "$mount" 2>/dev/null | tr -s ' ' '\n' | grep . | sort -n | tr '\n' ' ')
lsof_pids=$(lsof -t "$mount" 2>/dev/null | sort -n | tr '\n' ' ')

# What kestrixctl holds before it scans anything (its libraries, mostly): a scan's own share of
# its peak is the rest.
alone=$(timed "$KESTRIXCTL" --help | awk '{ printf "%.1f", $3 / 1024 }')

echo "load: $processes processes x $files open files, $(nproc) cores, load average $(cut -d' ' -f1 /proc/loadavg), median of $runs runs"
echo "kestrixctl check:        $(row "$work/quick")  holders: $quick_pids"
echo "kestrixctl check --deep: $(row "$work/deep")  holders: $deep_pids"
echo "fuser -m:                $(row "$work/fuser")  holders: $fuser_pids"
echo "lsof -t:                 $(row "$work/lsof")  holders: $lsof_pids"
echo "kestrixctl --help:       peak $alone MiB (before any scan)"
if [ -x "$SCAN_COST" ]; then
    # Lines "without W ms cpu C ms", "with …", "added …".
    "$SCAN_COST" "$mount" "$runs" >"$work/cost"
    cost() { awk -v k="$1" '$1 == k { printf "%s ms (cpu %s ms)", $2, $5 }' "$work/cost"; }
    echo "kernel checks, quick scan in one process: without $(cost without), with $(cost with), added $(cost added)"
else
    echo "kernel checks: no scan-cost next to $KESTRIXCTL"
fi
if [ "$quick_pids" = "$fuser_pids" ] && [ "$deep_pids" = "$fuser_pids" ] && [ "$lsof_pids" = "$fuser_pids" ]; then
    echo "results: identical"
else
    echo "results: DIFFER"
    exit 1
fi
