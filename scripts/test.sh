#!/usr/bin/env bash
# Sets up, then builds and runs every test twice (a release build, then a clang build under
# AddressSanitizer and UndefinedBehaviorSanitizer), then runs each fuzzer briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
step() { echo "== $1 (at $((SECONDS - started)) s)"; }
step "Packages"
bash scripts/install-dependencies.sh
jobs=$(nproc)
# The real-service tests run kestrixctl and the app as an ordinary user, through runuser, as a
# desktop runs them; the account is made when the machine has none of that name.
export KESTRIX_TEST_USER=${KESTRIX_TEST_USER:-kestrix-test}
id "$KESTRIX_TEST_USER" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$KESTRIX_TEST_USER"
fuzz_seconds=${KESTRIX_FUZZ_SECONDS:-20}

# Each build compiles its sources in unity batches, each batch one compiler run: most of what a
# source compiles is the headers it shares with its neighbours, so this halves the build.
step "Release build"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build build/release -j "$jobs"
step "Release tests"
ctest --test-dir build/release --output-on-failure -j "$jobs"

step "Without the desktop app (configuring is enough: the same sources build above)"
cmake -S . -B build/no-desktop -G Ninja -DKESTRIX_DESKTOP=OFF >/dev/null

step "AddressSanitizer + UndefinedBehaviorSanitizer build, with the fuzzers"
# One clang build serves both: the libraries carry the fuzzers' coverage instrumentation, which
# the tests do not notice, and line tables are all the sanitizers' reports need.
CC=clang CXX=clang++ cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only -DKESTRIX_SANITIZE=ON -DKESTRIX_FUZZ=ON -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build build/sanitize -j "$jobs" --target all fuzzers
step "Sanitizer tests"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

step "Fuzzers (${fuzz_seconds} s each, $jobs at a time)"
# Each fuzzer writes its verdict to a file of its own; they run side by side, one a core.
results=$(mktemp -d)
run_fuzzer() {
  local fuzzer=$1 name corpus
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  if "$fuzzer" -max_total_time="$fuzz_seconds" -max_len=65536 "$corpus" >"$results/$name.log" 2>&1; then
    echo "ok   $name: $(grep -Eo 'Done [0-9]+ runs' "$results/$name.log" | tail -1)" >"$results/$name.ok"
  else
    { echo "FAIL $name"; tail -40 "$results/$name.log"; } >"$results/$name.failed"
  fi
  rm -rf "$corpus"
}
for fuzzer in build/sanitize/Fuzz/*Fuzzer; do
  [ -x "$fuzzer" ] || continue
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  run_fuzzer "$fuzzer" &
done
wait
cat "$results"/*.ok "$results"/*.failed 2>/dev/null || true
passed=$(find "$results" -name '*.ok' | wc -l)
failed=$(find "$results" -name '*.failed' | wc -l)
rm -rf "$results"
echo "fuzzers: $passed passed, $failed failed"
step "Done"
[ "$failed" -eq 0 ]
