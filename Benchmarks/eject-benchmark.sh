#!/bin/sh
# How soon a drive is ejected once it is free, through the disk service (udisksd on a private
# system bus of its own), median wall time of RUNS each, on fresh loop drives mounted under /media:
#   bare      the UDisks2 calls an eject makes, each one `gdbus call` (Filesystem.Unmount, Loop.Delete)
#   eject     `kestrixctl eject NAME` on a free drive
#   quit      `kestrixctl quit-and-eject NAME --end PID` on a drive whose only holder is a `sleep`
#             sitting in it, which exits on the signal
# quit − eject is what the holder costs: asking it, waiting for its exit, and the second scan.
# BEFORE=path/to/another/kestrixctl measures that build's quit too, for a before and after.
# Needs root; builds kestrixctl (Release) unless KESTRIXCTL=path is given.
#
# usage: sudo Benchmarks/eject-benchmark.sh [RUNS]    (default 9)
set -eu
runs=${1:-9}
repo=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "eject-benchmark: needs root to loop-mount drives" >&2; exit 2; }
[ -x /usr/libexec/udisks2/udisksd ] || { echo "eject-benchmark: udisks2 is not installed" >&2; exit 2; }
if [ -z "${KESTRIXCTL:-}" ]; then
    build=${BUILD:-$repo/build-benchmark}
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target kestrixctl >/dev/null
    KESTRIXCTL=$build/kestrixctl/kestrixctl
fi

work=$(mktemp -d)
started=""
cleanup() {
    for pid in $started; do kill "$pid" 2>/dev/null || true; done
    for mounted in /media/kestrix-bench-*/*; do mountpoint -q "$mounted" && umount -l "$mounted"; done
    # Only a loop device still on this run's image: a freed one may be another program's by now.
    [ -f "$work/loops" ] && while read -r used; do
        losetup -n -O BACK-FILE "$used" 2>/dev/null | grep -q "$work/" && losetup -d "$used"
    done <"$work/loops"
    rmdir /media/kestrix-bench-*/* /media/kestrix-bench-* 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

# A private system bus that lets everyone in, as the tests' own, and the disk service on it.
cat >"$work/bus.conf" <<'CONF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <auth>EXTERNAL</auth>
  <listen>unix:tmpdir=/tmp</listen>
  <policy context="default">
    <allow user="*"/><allow own="*"/>
    <allow send_type="method_call"/><allow send_type="signal"/>
    <allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/>
    <allow receive_type="method_call"/><allow receive_type="method_return"/>
    <allow receive_type="error"/><allow receive_type="signal"/>
  </policy>
</busconfig>
CONF
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/bus"
started="$(dbus-daemon --config-file="$work/bus.conf" --address="$DBUS_SYSTEM_BUS_ADDRESS" --fork --print-pid)"
if ! pgrep -x systemd-udevd >/dev/null && ! pgrep -x udevd >/dev/null; then
    /lib/systemd/systemd-udevd >/dev/null 2>&1 &
    started="$started $!"
    sleep 1
fi
/usr/libexec/udisks2/udisksd >/dev/null 2>&1 &
started="$started $!"
i=0
until gdbus introspect --system -d org.freedesktop.UDisks2 -o /org/freedesktop/UDisks2 >/dev/null 2>&1; do
    i=$((i + 1)); [ "$i" -lt 100 ] || { echo "eject-benchmark: udisksd did not start" >&2; exit 1; }
    sleep 0.1
done

milliseconds() { echo $(( $(date +%s%N) / 1000000 )); }
median() { sort -n | awk '{ all[NR] = $1 } END { print all[int((NR + 1) / 2)] }'; }

# A fresh 16 MB ext4 drive on a loop device of its own, mounted as a desktop mounts one; sets
# label, loop and mount.
n=0
new_drive() {
    n=$((n + 1))
    label="KxBench$n"
    truncate -s 16M "$work/drive.img"
    mkfs.ext4 -q -F -L "$label" "$work/drive.img"
    loop=$(losetup -f --show "$work/drive.img")
    echo "$loop" >>"$work/loops"
    udevadm settle --timeout=30
    mount="/media/kestrix-bench-$n/$label"
    mkdir -p "$mount"
    mount "$loop" "$mount"
    # The disk service has seen the mount before anything asks it to undo it.
    until gdbus call --system -d org.freedesktop.UDisks2 -o "/org/freedesktop/UDisks2/block_devices/${loop#/dev/}" \
        -m org.freedesktop.DBus.Properties.Get org.freedesktop.UDisks2.Filesystem MountPoints 2>/dev/null |
        grep -q "$label"; do sleep 0.05; done
    rm -f "$work/drive.img"
}

time_ms() {
    start=$(milliseconds)
    "$@" >/dev/null 2>&1 || echo "eject-benchmark: failed: $*" >&2
    echo $(( $(milliseconds) - start ))
}

bare() {
    object="/org/freedesktop/UDisks2/block_devices/${loop#/dev/}"
    gdbus call --system -d org.freedesktop.UDisks2 -o "$object" -m org.freedesktop.UDisks2.Filesystem.Unmount '{}' &&
        gdbus call --system -d org.freedesktop.UDisks2 -o "$object" -m org.freedesktop.UDisks2.Loop.Delete '{}'
}

quit_with() {
    (cd "$mount" && exec sleep 600) &
    holder=$!
    sleep 0.2
    time_ms "$1" quit-and-eject --show-disk-images "$label" --end "$holder"
    wait "$holder" 2>/dev/null || true
}

: >"$work/bare"; : >"$work/eject"; : >"$work/quit"; : >"$work/before"
r=0
while [ "$r" -lt "$runs" ]; do
    new_drive; time_ms bare >>"$work/bare"
    new_drive; time_ms "$KESTRIXCTL" eject --show-disk-images "$label" >>"$work/eject"
    new_drive; quit_with "$KESTRIXCTL" >>"$work/quit"
    if [ -n "${BEFORE:-}" ]; then new_drive; quit_with "$BEFORE" >>"$work/before"; fi
    r=$((r + 1))
done

bare=$(median <"$work/bare"); eject=$(median <"$work/eject"); quit=$(median <"$work/quit")
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); median of $runs runs each"
echo "bare UDisks2 calls (gdbus call Unmount + Loop.Delete): $bare ms"
echo "kestrixctl eject, free drive: $eject ms ($(awk -v a="$eject" -v b="$bare" 'BEGIN { printf "%.2f", a / b }')x the bare calls)"
echo "kestrixctl quit-and-eject --end PID: $quit ms (the holder costs $((quit - eject)) ms)"
if [ -n "${BEFORE:-}" ]; then
    before=$(median <"$work/before")
    echo "$BEFORE quit-and-eject --end PID: $before ms (the holder costs $((before - eject)) ms)"
fi
