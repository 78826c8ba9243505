#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds, starting
# from fuzz/corpus/<Name>/ when present, with inputs up to 64 KB unless the fuzzer's source names
# other options on a line "// libFuzzer options: ...". Usage: scripts/fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-10}
cd "$(dirname "$0")/.."
ls fuzz/*Fuzzer.cpp >/dev/null 2>&1 || { echo "no fuzz targets"; exit 0; }
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DBRINDLE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
for src in fuzz/*Fuzzer.cpp; do
    name=$(basename "$src" .cpp)
    work=$(mktemp -d)
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    read -r -a options <<<"$(sed -n 's|^// libFuzzer options: ||p' "$src")"
    [ ${#options[@]} -gt 0 ] || options=(-max_len=65536)
    echo "fuzzing $name for ${seconds}s"
    (cd "$work" && "$OLDPWD/$build/fuzz/$name" -max_total_time="$seconds" "${options[@]}" -print_final_stats=0 \
        "$work" "${seeds[@]/#/$OLDPWD/}" 2>"$work/log") || { tail -50 "$work/log"; exit 1; }
    rm -rf "$work"
done
