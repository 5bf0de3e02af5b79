#!/usr/bin/env bash
# Every C++ file git knows of is in the root .clang-format's style; names
# those that are not (fix them with clang-format -i).
set -u
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top" || exit 1
command -v clang-format >/dev/null || { echo "clang-format is missing (tools/deps.sh installs it)"; exit 1; }
out=$(git ls-files -z '*.cpp' '*.h' '*.c' | xargs -0 clang-format --dry-run -Werror 2>&1)
if [ -n "$out" ]; then
  grep -oE '^[^:]+\.(cpp|h|c):' <<<"$out" | sort -u | sed 's/:$//; s/^/not formatted: /'
  exit 1
fi
echo "all C++ files formatted"
