# Sourced by the benchmark scripts: sets KESTRIXCTL and SCAN_LOAD, building what is missing
# (Release) in BUILD. KESTRIXCTL=path uses that kestrixctl instead.
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$repo/build-benchmark}
if [ -z "${KESTRIXCTL:-}" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target kestrixctl >/dev/null
    KESTRIXCTL=$build/kestrixctl/kestrixctl
fi
cmake -S "$repo/Benchmarks" -B "$build/Benchmarks" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/Benchmarks" >/dev/null
SCAN_LOAD=$build/Benchmarks/scan-load
