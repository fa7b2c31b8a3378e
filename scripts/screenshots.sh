#!/usr/bin/env bash
# Draws the menu panel, the main window's two pages and every state of a drive card over the
# demonstration system into docs/screenshots/, without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target kestrix
mkdir -p docs/screenshots
build/release/KestrixApp/Shell/kestrix --demo --screenshot docs/screenshots
