#!/usr/bin/env bash
# Old movies (version 5 and older) whose strings are in the Chinese code page play rewritten: their
# pushed strings built at run time from their characters, their version kept. This measures what
# the rewriting changes on two corpora of movies from elsewhere with known traces: every movie is
# rewritten whether its strings are Chinese or not (every pushed string that is no name built, ASCII
# too), played as it is and rewritten, and the share of rewritten movies that trace the same as
# their originals is printed (goal: at least 95 %).
# - ruffle: Ruffle's own test movies of version 5 and older, many of which probe the rules that
#   differ between versions 5 and 6.
# - swfdec: the trace tests of swfdec, each written once and built for versions 5 to 8, with the
#   traces Flash Player printed for each. Those whose version 5 and version 6 builds traced the same
#   in Flash Player are marked version-neutral.
# Usage: bench/viewer/codepage-corpus.sh BUILD
# The movies are fetched at pinned commits into the cache folder (CORPUS_CACHE, by default
# ~/.cache/brindle-corpus) once. RUFFLE_SOURCE and SWFDEC_SOURCE may name a git directory holding
# the pinned commit instead (no network needed). A corpus that cannot be had is skipped, so that
# `make bench` passes where there is no network.
set -euo pipefail
build=$(realpath "${1:-build}")
cache=${CORPUS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/brindle-corpus}
mkdir -p "$cache"

# fetch NAME REPOSITORY COMMIT FOLDER SOURCE: FOLDER of REPOSITORY at COMMIT into $cache/NAME, from
# the git directory SOURCE when given, from GitHub otherwise. Prints the folder, or nothing.
fetch() {
    local name=$1 repo=$2 commit=$3 folder=$4 source=$5 into="$cache/$1-$3"
    if [ ! -d "$into" ]; then
        rm -rf "$into.part" && mkdir -p "$into.part"
        if [ -n "$source" ]; then
            # Files missing from a partial copy are left out.
            git --git-dir="$source" archive "$commit" "$folder" | tar -x -C "$into.part" 2>/dev/null || true
        else
            curl -sfL "https://codeload.github.com/$repo/tar.gz/$commit" |
                tar -xz -C "$into.part" --strip-components=1 --wildcards "*/$folder" 2>/dev/null || true
        fi
        [ -d "$into.part/$folder" ] || { rm -rf "$into.part"; return 0; }
        mv "$into.part" "$into"
    fi
    echo "$into/$folder"
}

version() { head -c 4 "$1" | tail -c 1 | od -An -tu1 | tr -d ' '; }

run() {
    echo "== $1"
    QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
        "$build/bench/viewer/codepage_corpus" "$build/app/player" "$2"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ruffle=$(fetch ruffle ruffle-rs/ruffle f3a1263e164dc4cb56211ab1f113e1907730ce89 tests/tests/swfs/avm1 \
    "${RUFFLE_SOURCE:-}")
if [ -n "$ruffle" ]; then
    cp -r "$ruffle" "$work/ruffle"
    run ruffle "$work/ruffle"
else
    echo "codepage corpus ruffle: skipped (not fetched)"
fi

swfdec=$(fetch swfdec mltframework/swfdec de1eef41a1360a15bcc1b46a9ca5b9db0606e06c test/trace "${SWFDEC_SOURCE:-}")
if [ -n "$swfdec" ]; then
    # Into the layout of Ruffle's tests: a folder per movie with test.swf and output.txt.
    for movie in "$swfdec"/*.swf; do
        [ -f "$movie.trace" ] && [ "$(version "$movie")" -le 5 ] || continue
        name=$(basename "$movie" .swf)
        mkdir -p "$work/swfdec/$name"
        cp "$movie" "$work/swfdec/$name/test.swf"
        cp "$movie.trace" "$work/swfdec/$name/output.txt"
        six="$swfdec/${name%-[45]}-6.swf.trace"
        if [ -f "$six" ] && cmp -s "$six" "$movie.trace"; then touch "$work/swfdec/$name/version-neutral"; fi
    done
    run swfdec "$work/swfdec"
else
    echo "codepage corpus swfdec: skipped (not fetched)"
fi
