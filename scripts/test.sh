#!/usr/bin/env bash
# Sets up the machine, builds, and runs the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# Every fuzz target for a few thousand executions, in a tree of its own.
"$root/scripts/fuzz.sh" --runs 3000
# Core tests under ASan and UBSan, built in the fuzz tree (its libraries are
# instrumented already). The model and geometry tests for now; the other core
# programs join once they have run clean under the sanitizers.
fuzz="${VGL_FUZZ_DIR:-$root/build-fuzz}"
cmake --build "$fuzz" -j "$(nproc)" --target test_model test_geometry
for t in test_model test_geometry; do
  ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" "$fuzz/tests/$t" --gtest_brief=1
done
build="${VGL_BUILD_DIR:-$root/build}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
