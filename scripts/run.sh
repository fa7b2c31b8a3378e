#!/usr/bin/env bash
# Sets up, builds and starts Kestrix on this machine: the desktop app where a display is
# there, else the list of drives it can eject.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target kestrix kestrixctl
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/KestrixApp/Shell/kestrix "$@"
fi
echo "No display here, so this is what the app would list (kestrixctl drives):"
exec build/release/kestrixctl/kestrixctl drives "$@"
