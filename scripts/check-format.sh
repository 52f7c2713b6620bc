#!/usr/bin/env bash
# Checks that every C and C++ source in the repository is formatted as .clang-format says.
# scripts/check-format.sh --fix formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."

# Tracked and new sources that are there (a file deleted but not yet committed is skipped).
mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' '*.c' |
                     sort -u | while read -r file; do [[ -f $file ]] && echo "$file"; done)
if [[ ${1:-} == --fix ]]; then
    clang-format -i "${files[@]}"
    exit 0
fi
report=$(mktemp)
trap 'rm -f "$report"' EXIT
if ! clang-format --dry-run --Werror "${files[@]}" 2>"$report"; then
    grep -E '^[^ ].*: (error|warning):' "$report" | cut -d: -f1 | sort -u |
        sed 's/^/not formatted: /' >&2 || cat "$report" >&2
    echo "check-format: run scripts/check-format.sh --fix" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files formatted"
