#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the tree is not formatted as
# .clang-format says. Run clang-format -i on them to mend.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
