#!/usr/bin/env bash
# Installs what is missing, builds the program, makes a demo machine (scripts/make-demo.sh:
# a distribution folder with the program, and a Wine prefix with Delphi installed) and
# starts the program from that distribution. Without a display it saves a picture of the
# window instead and says where. Arguments go to make-demo.sh (--packages, --installed).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/make-demo.sh "$@"
echo
export WINEPREFIX="$PWD/build/demo/prefix"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/demo/dist/PolyverbSetup
fi
picture=build/demo/PolyverbSetup.png
echo "There is no display here, so the window cannot be shown."
if ! build/release/installer/PolyverbScreenshot --dist build/demo/dist --output "$picture" >/dev/null; then
  echo "The program ended at its start (its message is above), so there is no window to picture."
  exit 1
fi
echo "A picture of it, as the program started from build/demo/dist, is in $picture"
