#!/usr/bin/env bash
# Fails when a C++ file of the repository does not follow .clang-format, naming the files; format them
# with  clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || scripts/install-deps.sh
if ! out=$(git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror 2>&1); then
    echo "not formatted with .clang-format:"
    grep -oE '^[^: ]+\.(cpp|h):' <<<"$out" | tr -d ':' | sort -u | sed 's/^/  /'
    exit 1
fi
