#!/usr/bin/env bash
# Sets up, builds and starts Tallyvane with its bundled area-code database.
# Installs only what building and running need, builds only the program and
# its data (Release, one job per core), and on a second start finds nothing to
# do. Arguments go to the program, e.g. scripts/run.sh numbers.txt
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
(
    cd "$root"
    source scripts/lib/packages.sh
    mapfile -t missing < <(tallyvane_missing_packages "${TALLYVANE_RUN_PACKAGES[@]}" \
        <<<"$(tallyvane_installed_packages)")
    tallyvane_install_packages "${missing[@]}"
    # Ninja re-runs CMake by itself when a CMake file changed, so an existing
    # build tree needs no configure step.
    [[ -f build/release/build.ninja ]] || cmake --preset release >/dev/null
    cmake --build build/release --target tallyvane -j "$(nproc)"
)
# From the caller's folder, so that files named relative to it are found.
exec "$root/build/release/bin/tallyvane" "$@"
