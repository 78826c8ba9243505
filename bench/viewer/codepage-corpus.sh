#!/usr/bin/env bash
# Old movies (version 5 and older) whose strings are in the Chinese code page play rewritten: their
# strings in UTF-8 and their version raised to 6. This measures what the higher version changes
# on a corpus of movies from elsewhere with known traces, Ruffle's own test movies: every one is
# rewritten whether its strings are Chinese or not, played as it is and rewritten, and the share of
# rewritten movies that trace the same as their originals is printed (goal: at least 95 %).
# Usage: bench/viewer/codepage-corpus.sh BUILD [RUFFLE_SOURCE]
# RUFFLE_SOURCE (or the environment's RUFFLE_SOURCE) is a checkout of Ruffle's public repository
# or its git directory; the test movies are read from it at run time. Without one the run is
# skipped, so that `make bench` passes where no copy is at hand.
set -euo pipefail
build=$(realpath "${1:-build}")
source=${2:-${RUFFLE_SOURCE:-}}
if [ -z "$source" ]; then
    echo "codepage corpus: skipped (no RUFFLE_SOURCE given)"
    exit 0
fi
tests=tests/tests/swfs/avm1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -d "$source/$tests" ]; then
    cp -r "$source/$tests" "$work/avm1"
else
    # A git directory: only the tests' folder, from its newest commit. Files missing from a partial
    # copy are left out.
    mkdir -p "$work/tree"
    git --git-dir="$source" archive HEAD "$tests" | tar -x -C "$work/tree" 2>/dev/null || true
    mv "$work/tree/$tests" "$work/avm1"
fi
QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
    "$build/bench/viewer/codepage_corpus" "$build/app/player" "$work/avm1"
