#!/usr/bin/env bash
# Sets up, builds and starts Tallyvane with its bundled area-code database.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh dev
exec build/dev/bin/tallyvane "$@"
