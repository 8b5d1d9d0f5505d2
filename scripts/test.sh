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
# already). The application's tests (Qt) stay out. The slowest cases, each a
# loop over the whole catalogue or many vglyph runs, take many minutes under the
# sanitizers and are left out (the plain run below keeps them): in the proof
# tests the two whole-catalogue ones, in the command-line tests those in
# cli_slow (every parameterised table still runs). scripts/lsan.supp hides
# the leaks of the Ghostscript library the proof opens at run time (in the
# proof tests and in the proofs of the vglyph the command-line tests run).
fuzz="${VGL_FUZZ_DIR:-$root/build-fuzz}"
core=(test_model test_geometry test_device test_symbology test_render test_eps test_entry test_output test_proof
      test_dialogs test_cli)
cmake --build "$fuzz" -j "$(nproc)" --target "${core[@]}"
cli_slow="Sweep.EveryDrawableVariationWritesAnEpsWithInk:Code128Scan.EveryVariationReadsBack:\
Code128Scan.MarksStayInsideTheBoundingBox:BatchScan.Code128DataFileBatchDecodesRecordByRecord:\
Make.EdgeSettingsAreRefusedOrRender:BatchTool.ConcurrentSeriesReportOnlyTheirOwnFiles:\
DialogOptions.AdditionalTextKeepsTheSymbolReadable:PublishedPatterns.FacingIdentificationMarks:\
CommandLine.BehavesAsDocumented:Verify.AddOnsScanOnEveryTarget:PublishedPatterns.PharmacodeValues:\
Separation.SpotColourWithItsNameAndOverprint:Verify.DamagedFilesOfEveryKindDoNotScan:\
BatchScan.WmfAndEmfSeriesDecodeThroughTheirReaders"
for t in "${core[@]}"; do
  filter=() lsan=""
  if [ "$t" = test_cli ]; then
    filter=(--gtest_filter="-$cli_slow")
    lsan="suppressions=$root/scripts/lsan.supp:print_suppressions=0"  # vglyph --verify
  elif [ "$t" = test_proof ]; then
    filter=(--gtest_filter="-Proof.EveryVariationWithAReaderScans:Proof.EveryVariationsExportsPassOtherProgramsChecks")
    lsan="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
  fi
  ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" LSAN_OPTIONS="$lsan" \
    "$fuzz/tests/$t" --gtest_brief=1 "${filter[@]}"
done
build="${VGL_BUILD_DIR:-$root/build}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
