#!/usr/bin/env bash
# Fails when a tracked C++ file is not as clang-format (.clang-format at the root) leaves it,
# naming each place; `clang-format -i FILE` mends it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
git ls-files -z '*.h' '*.cpp' | xargs -0 clang-format --dry-run -Werror
echo "format: every tracked .h and .cpp is as clang-format leaves it"
