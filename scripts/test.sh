#!/usr/bin/env bash
# Sets up, then builds and runs every test twice (a release build, then one under
# AddressSanitizer and UndefinedBehaviorSanitizer), then runs each fuzzer briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh
jobs=$(nproc)
# The real-service tests run kestrixctl and the app as an ordinary user, through runuser, as a
# desktop runs them; the account is made when the machine has none of that name.
export KESTRIX_TEST_USER=${KESTRIX_TEST_USER:-kestrix-test}
id "$KESTRIX_TEST_USER" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$KESTRIX_TEST_USER"
fuzz_seconds=${KESTRIX_FUZZ_SECONDS:-20}

echo "== Release build and tests"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build and tests"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIX_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

echo "== Fuzzers (${fuzz_seconds} s each)"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIX_FUZZ=ON -DKESTRIX_DESKTOP=OFF >/dev/null
cmake --build build/fuzz -j "$jobs" --target fuzzers
passed=0
failed=0
for fuzzer in build/fuzz/Fuzz/*Fuzzer; do
  [ -x "$fuzzer" ] || continue
  corpus=$(mktemp -d)
  if "$fuzzer" -max_total_time="$fuzz_seconds" -max_len=65536 "$corpus" >"$corpus.log" 2>&1; then
    echo "ok   $(basename "$fuzzer"): $(grep -Eo 'Done [0-9]+ runs' "$corpus.log" | tail -1)"
    passed=$((passed + 1))
  else
    echo "FAIL $(basename "$fuzzer")"; tail -40 "$corpus.log"
    failed=$((failed + 1))
  fi
  rm -rf "$corpus" "$corpus.log"
done
echo "fuzzers: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
