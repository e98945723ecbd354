#!/usr/bin/env bash
# Checks every C++ source of the project against .clang-format; with --fix,
# rewrites the files that drift. make test runs the check (CTest unit_format),
# make format the fix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
formatter=${CLANG_FORMAT:-clang-format-14}
fix=0
[ "${1:-}" = --fix ] && fix=1

drift=0
while IFS= read -r -d '' file; do
    if [ $fix = 1 ]; then
        "$formatter" -i "$file"
    elif ! "$formatter" "$file" | cmp -s - "$file"; then
        echo "${file#"$root"/} differs from .clang-format (make format fixes it)"
        drift=1
    fi
done < <(find "$root/src" "$root/tests" "$root/bench" "$root/fuzz" \
              \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
exit $drift
