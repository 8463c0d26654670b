#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it against the Wine
# prefix named by WINEPREFIX (else ~/.wine).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build/release --target PolyverbSetup -j "$(nproc)"
exec build/release/installer/PolyverbSetup "$@"
