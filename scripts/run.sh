#!/usr/bin/env bash
# Sets up the machine, builds, and starts Vornel Glyph: the application when a
# display is available, otherwise a sample EAN-13 EPS made with vglyph.
# With arguments, runs vglyph with them (scripts/run.sh list).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null
build="${VGL_BUILD_DIR:-$root/build}"
if [ $# -gt 0 ]; then
  exec "$build/src/cli/vglyph" "$@"
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/src/app/vornel-glyph"
fi
sample="$build/sample-ean13.eps"
"$build/src/cli/vglyph" make -v "EAN-13" -d 590123412345 -o "$sample"
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset)."
echo "Made a sample EAN-13 symbol: $sample"
echo "Start the application on a desktop with: $build/src/app/vornel-glyph"
echo "The command-line tool: $build/src/cli/vglyph --help"
