#!/usr/bin/env bash
# Runs every benchmark script bench/<subsystem>/*.sh with the build folder as its argument. A script
# that fails does not keep the others from running; the run fails at the end, naming it.
set -uo pipefail
build=$(realpath "${1:-build}")
cd "$(dirname "$0")/.."
failed=()
for script in bench/*/*.sh; do
    [ -e "$script" ] || continue
    echo "== $script"
    bash "$script" "$build" || failed+=("$script (status $?)")
done
if [ ${#failed[@]} -gt 0 ]; then
    printf 'failed: %s\n' "${failed[@]}" >&2
    exit 1
fi
