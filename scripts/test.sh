#!/usr/bin/env bash
# Sets up, builds (warnings are errors) and runs every test headless.
# Usage: scripts/test.sh [preset]   (ci by default; asan for the sanitizer build)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-ci}
scripts/setup.sh "$preset"
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset" --output-on-failure -j 2
