#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) in a tree of their
# own and runs every target in turn. scripts/test.sh builds and runs the core
# tests in the same tree.
#   scripts/fuzz.sh MINUTES       each target for MINUTES minutes
#   scripts/fuzz.sh --runs N      each target for N executions (CI)
# The tree is build-fuzz/ (or $VGL_FUZZ_DIR); each target grows its corpus in
# the tree, starting from tests/fuzz/corpus/<name>/, and a crash leaves its
# input in the tree's artifacts/ folder. Exits 1 when any target reported.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
usage() { echo "usage: scripts/fuzz.sh MINUTES | --runs N" >&2; exit 2; }
[ $# -ge 1 ] || usage
if [ "$1" = "--runs" ]; then
  [ $# -eq 2 ] && [[ "$2" =~ ^[0-9]+$ ]] || usage
  limit=(-runs="$2")
else
  [ $# -eq 1 ] && [[ "$1" =~ ^[0-9]+([.][0-9]+)?$ ]] || usage
  limit=(-max_total_time="$(awk -v m="$1" 'BEGIN { printf "%d", m * 60 }')")
fi
tree="${VGL_FUZZ_DIR:-$root/build-fuzz}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$tree" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVGL_SANITIZE=address,undefined -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" \
  -DVGL_LEAN_TOOL=OFF >/dev/null
cmake --build "$tree" -j "$(nproc)" --target fuzz_targets

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="detect_leaks=1"
mkdir -p "$tree/artifacts"
failed=0
for bin in "$tree"/tests/fuzz/*_fuzz; do
  name="$(basename "$bin" _fuzz)"
  corpus="$tree/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/tests/fuzz/corpus/$name" ] && seeds=("$root/tests/fuzz/corpus/$name")
  extra=()
  [ "$name" = settingsreader ] && extra=(-dict="$root/tests/fuzz/settings.dict" -max_len=6000)
  [ "$name" = metafilereopen ] && extra=(-max_len=2900)
  log="$tree/artifacts/$name.log"
  if "$bin" "${limit[@]}" "${extra[@]}" -artifact_prefix="$tree/artifacts/$name-" -print_final_stats=1 \
       "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    echo "$name: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" | tail -1)"
  else
    echo "$name: REPORTED (see $log)"
    grep -m3 -E 'ERROR|runtime error|deadly signal|SUMMARY' "$log" || true
    failed=1
  fi
done
exit "$failed"
