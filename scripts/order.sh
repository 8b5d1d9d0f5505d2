#!/usr/bin/env bash
# Writes src/cli/vglyph.order: the functions the tool runs when it makes files,
# most run first. The link puts them side by side at the start of the program's
# code, so that a run touches fewer pages of it (each first touch is dear on a
# virtual machine). Run it after larger changes; names no longer found are
# passed over by the link. Needs valgrind (callgrind_annotate).
#   scripts/order.sh [BUILD]    BUILD: a configured tree (default build/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
exe="$build/src/cli/vglyph"
command -v valgrind >/dev/null || { echo "order.sh needs valgrind" >&2; exit 1; }
cmake --build "$build" --target vglyph >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME="$work/cache"

# The runs, as a user starts them: one file of each kind, and a series; each
# twice, so that the second run finds the font choices remembered.
runs=(
  "make -v 26 -d 400638133393 -o $work/a.eps"
  "make -v 6 -d ABC123 -o $work/b.eps"
  "make -v 11 -d ABC123 -o $work/c.eps"
  "make -v 26 -d 400638133393 -o $work/d.emf"
  "make -v 26 -d 400638133393 -o $work/e.wmf"
  "make -v 26 -d 400638133393 -o $work/f.png"
  "series -v 26 -d 400638130000 --before 4006381 --start 30000 --stop 30009 --no-preview -o $work/s"
)
mkdir "$work/s"
for pass in 1 2; do
  n=0
  for run in "${runs[@]}"; do
    n=$((n + 1))
    rm -f "$work"/[a-f].* "$work"/s/*
    # shellcheck disable=SC2086
    valgrind --tool=callgrind --demangle=no --callgrind-out-file="$work/cg.$pass.$n" "$exe" $run >/dev/null 2>&1
  done
done

# Functions of the program itself, by instructions run, each once.
for f in "$work"/cg.2.* "$work"/cg.1.*; do
  callgrind_annotate --threshold=100 --inclusive=no "$f" | grep -F "[$exe]" |
    sed -E 's/^ *[0-9,]+ \([ 0-9.]+%\)  //; s/ \[[^]]*\]$//; s/^.*:([^:]+)$/\1/'
done | awk '!seen[$0]++ && $0 !~ /^(0x|\?)/' >"$root/src/cli/vglyph.order"
echo "$(wc -l <"$root/src/cli/vglyph.order") functions in src/cli/vglyph.order"
