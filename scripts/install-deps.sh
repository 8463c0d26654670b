#!/usr/bin/env bash
# Installs what building, running and testing the project needs on a Debian 12 machine.
# Only packages that are missing are installed, so a second run costs nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev lld
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev nlohmann-json3-dev
  wine wine64
  xvfb xauth xdotool imagemagick fonts-dejavu-core
  dbus at-spi2-core python3-pyatspi
  hyperfine time gnuplot-nox
  ansible-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
