#!/usr/bin/env bash
# Turns the screenshots a test program saved as BMP into PNG, beside them.
set -euo pipefail
shopt -s nullglob
for bmp in "$1"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
