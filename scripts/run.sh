#!/usr/bin/env bash
# Sets up the machine, builds, and runs the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null
build="${VGL_BUILD_DIR:-$root/build}"
if [ $# -eq 0 ]; then set -- list; fi
exec "$build/src/cli/vglyph" "$@"
