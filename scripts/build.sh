#!/usr/bin/env bash
# Configures and builds into build/ (or $VGL_BUILD_DIR), warnings as errors.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VGL_BUILD_DIR:-$root/build}"
# Warnings are errors here, as in CI (scripts/test.sh builds through this).
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVGL_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" "$@"
