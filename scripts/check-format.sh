#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what .clang-format makes of it, and names the file.
# Fix with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "format: every C++ file as .clang-format makes it"
