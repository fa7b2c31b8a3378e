#!/usr/bin/env bash
# Installs what building, running and testing Kestrix needs on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
  ca-certificates cmake ninja-build g++ clang pkg-config \
  libgtest-dev libgmock-dev nlohmann-json3-dev libicu-dev liburiparser-dev \
  libmount-dev libudev-dev libumockdev-dev umockdev \
  util-linux mount e2fsprogs psmisc lsof python3 >/dev/null
