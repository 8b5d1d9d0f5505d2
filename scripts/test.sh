#!/usr/bin/env bash
# Sets up the machine, builds, and runs the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# Every fuzz target for a few thousand executions, in a tree of its own.
"$root/scripts/fuzz.sh" --runs 3000
# The core tests under ASan and UBSan, built in the fuzz tree: its libraries are
# instrumented already.
fuzz="${VGL_FUZZ_DIR:-$root/build-fuzz}"
cmake --build "$fuzz" -j "$(nproc)" --target test_model test_geometry test_device test_symbology test_render \
  test_eps test_entry test_output test_proof
ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
  ctest --test-dir "$fuzz" -L core --output-on-failure -j "$(nproc)" --timeout 900
build="${VGL_BUILD_DIR:-$root/build}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
