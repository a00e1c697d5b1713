#!/usr/bin/env bash
# Installs what Tallyvane needs to build, run and test on Debian 12, then
# configures and builds. Usage: scripts/setup.sh [preset]   (default: dev)
# Packages are only ever added: apt is stopped before it would remove one.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

installed=$(tallyvane_installed_packages)
soffice=no
command -v soffice >/dev/null && soffice=yes
mapfile -t missing < <(
    tallyvane_missing_packages "${TALLYVANE_RUN_PACKAGES[@]}" "${TALLYVANE_TEST_PACKAGES[@]}" <<<"$installed"
    tallyvane_spreadsheet_package "$soffice" <<<"$installed"
)
tallyvane_install_packages "${missing[@]}"

preset=${1:-dev}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
