#!/usr/bin/env bash
# Draws the menu panel, the main window's two pages (the drives page in a dark palette too), the
# settings, welcome and help windows and every state of a drive card over the demonstration
# system into docs/screenshots/ (and, in Spanish, docs/screenshots/es/), and the panel with no
# drive and with many, from the worlds the scene tests use, without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target kestrix
kestrix=build/release/KestrixApp/Shell/kestrix
worlds=KestrixApp/Views/Screenshots/Worlds
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for language in en es; do
  out=docs/screenshots
  [ "$language" = es ] && out=docs/screenshots/es
  mkdir -p "$out"
  LANGUAGE=$language "$kestrix" --demo --screenshot "$out"
  for world in empty crowded; do
    LANGUAGE=$language "$kestrix" --world "$worlds/$world.json" --screenshot "$scratch/$language-$world" >/dev/null
    cp "$scratch/$language-$world/menu-panel.png" "$out/menu-panel-$world.png"
  done
done
