#!/usr/bin/env bash
# Remakes the pictures of the setup window in docs/, in English and in German, from the
# real program started on the demo machine of scripts/make-demo.sh (all three Delphi
# versions in the distribution and installed).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/make-demo.sh
export WINEPREFIX="$PWD/build/demo/prefix"
mkdir -p docs
build/release/installer/PolyverbScreenshot --dist build/demo/dist --language English \
  --output docs/setup-english.png
build/release/installer/PolyverbScreenshot --dist build/demo/dist --language Deutsch \
  --output docs/setup-german.png
build/release/installer/PolyverbScreenshot --dist build/demo/dist --language English --run \
  --output docs/setup-run.png
build/release/installer/PolyverbScreenshot --dist build/demo/dist --language English \
  --folder 'C:\Program Files\Borland\Delphi5' --browse --output docs/setup-browse.png
# At a scale factor of 2 the window keeps its layout, drawn with twice the pixels.
QT_SCALE_FACTOR=2 build/release/installer/PolyverbScreenshot --dist build/demo/dist \
  --language English --output docs/setup-scale2.png
