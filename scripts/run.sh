#!/usr/bin/env bash
# Sets up, builds and lists the drives this machine can eject.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target kestrixctl
build/release/kestrixctl/kestrixctl drives "$@"
