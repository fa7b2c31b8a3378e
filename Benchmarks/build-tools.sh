# Sourced by the benchmark scripts: sets KESTRIXCTL, SCAN_COST and SCAN_LOAD, building what is
# missing (Release) in BUILD (KESTRIXCTL=path uses that kestrixctl instead, and the scan-cost of
# its build when there is one), and makes loop drives.
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$repo/build-benchmark}
if [ -z "${KESTRIXCTL:-}" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target kestrixctl scan-cost >/dev/null
    KESTRIXCTL=$build/kestrixctl/kestrixctl
fi
SCAN_COST=${SCAN_COST:-$(dirname "$KESTRIXCTL")/../Benchmarks/ScanCost/scan-cost}
cmake -S "$repo/Benchmarks" -B "$build/Benchmarks" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/Benchmarks" >/dev/null
SCAN_LOAD=$build/Benchmarks/scan-load

# A fresh ext4 image on a loop device, not yet mounted, to be mounted at /media/NAME: sets work
# (a scratch folder), mount and loop, and undoes everything when the script ends.
make_loop_drive() {
    work=$(mktemp -d)
    name=$1
    mount=/media/$name
    loop=
    trap cleanup_loop_drive EXIT INT TERM
    truncate -s 64M "$work/drive.img"
    mkfs.ext4 -q -F "$work/drive.img"
    loop=$(losetup -f --show "$work/drive.img")
    mkdir -p "$mount" "$work/files"
}

cleanup_loop_drive() {
    exec 3>&- 2>/dev/null || true
    wait 2>/dev/null || true
    if mountpoint -q "$mount" 2>/dev/null; then umount "$mount" || umount -l "$mount"; fi
    [ -n "$loop" ] && losetup -d "$loop"
    rmdir "$mount" 2>/dev/null || true
    rm -rf "$work"
}
