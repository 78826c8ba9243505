#!/usr/bin/env bash
# Runs every benchmark script bench/<subsystem>/*.sh with the build folder as its argument.
set -euo pipefail
build=$(realpath "${1:-build}")
cd "$(dirname "$0")/.."
for script in bench/*/*.sh; do
    [ -e "$script" ] || continue
    echo "== $script"
    bash "$script" "$build"
done
