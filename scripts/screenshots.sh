#!/usr/bin/env bash
# Draws the menu panel, the main window's two pages, the settings, welcome and help windows and
# every state of a drive card over the demonstration system into docs/screenshots/ (and, in
# Spanish, docs/screenshots/es/), without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target kestrix
mkdir -p docs/screenshots
build/release/KestrixApp/Shell/kestrix --demo --screenshot docs/screenshots
mkdir -p docs/screenshots/es
LANGUAGE=es build/release/KestrixApp/Shell/kestrix --demo --screenshot docs/screenshots/es
