#!/usr/bin/env bash
# Installs what building, running and testing Kestrix needs on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# Build tools, and clang with its runtimes for the fuzzers (the runtimes are only recommended
# by clang, so --no-install-recommends would leave them out).
build_tools="ca-certificates cmake ninja-build g++ clang libclang-rt-14-dev pkg-config gettext"
libraries="libgtest-dev libgmock-dev nlohmann-json3-dev libicu-dev liburiparser-dev
  libmount-dev libblkid-dev libudev-dev libumockdev-dev umockdev"
desktop="qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-qpa-plugins qt6-wayland libxcb1-dev libxcb-ewmh-dev
  libxcb-icccm4-dev libxcb-keysyms1-dev adwaita-icon-theme hicolor-icon-theme fonts-dejavu-core
  fontconfig desktop-file-utils appstream libglib2.0-dev qt6-translations-l10n"
# What the tests start or drive: loop drives and holders, an X server with a window manager and a
# tray, a session and a private system bus, the disk service and udev, polkit's authority and text
# agent (the disk service asks it for ordinary users), a local HTTPS server; and the desktop
# portals every GNOME or KDE desktop has, so that the tests prove they start none by accident.
# A headless Wayland desktop (sway, with wtype for keys and grim for pictures of it) runs real
# editors as native Wayland clients: mousepad (GTK) and featherpad (Qt 5, which needs qtwayland5 for Wayland). fuse3
# and python3-fusepy serve the slow stick, an image whose writes are held back to a cheap stick's pace.
test_tools="util-linux mount e2fsprogs psmisc lsof python3 procps xvfb xauth openbox xdotool
  x11-utils tint2 dbus dbus-x11 udev udisks2 polkitd openssl xdg-desktop-portal xdg-desktop-portal-gtk
  sway wtype grim mousepad featherpad qtwayland5 fuse3 python3-fusepy"
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $build_tools $libraries $desktop $test_tools >/dev/null
