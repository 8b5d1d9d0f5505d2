#!/usr/bin/env bash
# Sets up the machine, builds, and runs the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# Every fuzz target for a few thousand executions, in a tree of its own.
"$root/scripts/fuzz.sh" --runs 3000
# Every headless core test program under ASan and UBSan, built in the fuzz tree
# (its libraries and the vglyph the command-line tests drive are instrumented
# already). The application's tests (Qt) stay out. The proof tests leave out
# their two whole-catalogue cases, which take minutes under the sanitizers
# (the plain run below keeps them), and scripts/lsan.supp hides the leaks of
# the Ghostscript library the proof opens at run time.
fuzz="${VGL_FUZZ_DIR:-$root/build-fuzz}"
core=(test_model test_geometry test_device test_symbology test_render test_eps test_entry test_output test_proof
      test_dialogs test_cli)
cmake --build "$fuzz" -j "$(nproc)" --target "${core[@]}"
for t in "${core[@]}"; do
  filter=() lsan=""
  if [ "$t" = test_proof ]; then
    filter=(--gtest_filter="-Proof.EveryVariationWithAReaderScans:Proof.EveryVariationsExportsPassOtherProgramsChecks")
    lsan="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
  fi
  ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" LSAN_OPTIONS="$lsan" \
    "$fuzz/tests/$t" --gtest_brief=1 "${filter[@]}"
done
build="${VGL_BUILD_DIR:-$root/build}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
