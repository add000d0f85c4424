#!/usr/bin/env bash
# Renders the program's icon, packaging/icons/<id>.svg, into the PNG sizes of
# the hicolor theme under packaging/icons/hicolor/. The PNGs are committed, so
# only a change to the SVG needs this (rsvg-convert: Debian package librsvg2-bin).
# Usage: scripts/render-icons.sh
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
id=io.github.quillet.Quillet
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert --width "$size" --height "$size" "$id.svg" --output "hicolor/${size}x${size}/apps/$id.png"
done
