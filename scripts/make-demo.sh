#!/usr/bin/env bash
# Makes a machine to try the setup program on by hand, afresh each time: build/demo/dist, a
# distribution folder holding the program and the product's files (placeholders), and
# build/demo/prefix, a Wine prefix in which Delphi is installed.
#   --packages LIST   the Delphi versions whose files the distribution holds (default 3,4,5)
#   --installed LIST  the Delphi versions installed in the prefix (default 3,4,5); an entry
#                     may say how its program value looks: 4=empty, 4=missing, 4=dword
# An empty LIST stands for none.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=3,4,5
installed=3,4,5
while (($#)); do
  case "$1" in
    --packages | --installed)
      if (($# < 2)); then
        echo "make-demo.sh: $1 needs a value" >&2
        exit 2
      fi
      if [ "$1" = --packages ]; then packages=$2; else installed=$2; fi
      shift 2
      ;;
    -h | --help)
      sed -n '2,8s/^# \{0,1\}//p' "$0"
      exit 0
      ;;
    *)
      echo "make-demo.sh: unknown argument \"$1\" (try --help)" >&2
      exit 2
      ;;
  esac
done

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build/release --target make_demo PolyverbSetup PolyverbScreenshot -j "$(nproc)"

dist=build/demo/dist
prefix=build/demo/prefix
rm -rf "$dist" "$prefix"
build/release/tests/support/make_demo --dist "$dist" --packages "$packages" \
  --program build/release/installer/PolyverbSetup --prefix "$prefix" --installed "$installed"

echo
echo "Distribution folder: $dist"
echo "Wine prefix:         $prefix"
echo "Run the program from the distribution:"
echo "  WINEPREFIX=$prefix $dist/PolyverbSetup"
