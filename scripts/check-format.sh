#!/usr/bin/env bash
# Fails when a C++ file under src/, nusbdevice/, tests/ or bench/ differs from what .clang-format makes
# of it.
# Fix with: scripts/check-format.sh --fix
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

mapfile -d '' files < <(find src nusbdevice tests bench -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
if [[ ${1:-} == --fix ]]; then
    clang-format -i "${files[@]}"
    exit 0
fi
clang-format --dry-run -Werror "${files[@]}"
