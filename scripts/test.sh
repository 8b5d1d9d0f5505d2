#!/usr/bin/env bash
# Sets up the machine, builds, and runs the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# Every fuzz target for a few thousand executions, in a tree of its own.
"$root/scripts/fuzz.sh" --runs 3000
build="${VGL_BUILD_DIR:-$root/build}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
