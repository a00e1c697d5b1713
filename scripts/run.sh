#!/usr/bin/env bash
# Sets up, builds and starts Tallyvane with its bundled area-code database.
# Installs only what building and running need, builds only the two programs
# (the window and tallyvane-convert) and their data (Release, one job per
# core), and on a second start finds nothing to do. Arguments go to the
# program, e.g. scripts/run.sh numbers.txt
#
# scripts/run.sh --install-user builds the same and, instead of starting the
# window, links both programs into ~/.local/bin, their man pages into
# ~/.local/share/man/man1 and the SQL functions into ~/.local/lib/tallyvane,
# so that `tallyvane`, `tallyvane-convert` and `man tallyvane-convert` work
# from any folder. Nothing outside ~/.local is
# touched, and a file there that is not already such a link is left alone.
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
    cmake --build build/release --target tallyvane tallyvane-convert tallyvane_sqlite -j "$(nproc)"
)

# Links $1 as $2, unless $2 is something other than a link we may replace.
link_into() {
    if [[ -e $2 && ! -L $2 ]]; then
        echo "run.sh: $2 exists and is not a link; left as it is" >&2
        return 1
    fi
    ln -sfn "$1" "$2"
    echo "$2 -> $1"
}

if [[ ${1-} == --install-user ]]; then
    bin=$HOME/.local/bin
    man=$HOME/.local/share/man/man1
    mkdir -p "$bin" "$man"
    status=0
    for program in tallyvane tallyvane-convert; do
        link_into "$root/build/release/bin/$program" "$bin/$program" || status=1
        link_into "$root/packaging/man/$program.1" "$man/$program.1" || status=1
    done
    # The SQL functions, for sqlite3's .load (the database lies beside the build's).
    mkdir -p "$HOME/.local/lib/tallyvane"
    link_into "$root/build/release/bin/libtallyvane_sqlite.so" \
        "$HOME/.local/lib/tallyvane/libtallyvane_sqlite.so" || status=1
    case ":$PATH:" in
    *":$bin:"*) ;;
    *) echo "run.sh: $bin is not on your PATH; add it to use the programs by name" >&2 ;;
    esac
    exit "$status"
fi
# From the caller's folder, so that files named relative to it are found.
exec "$root/build/release/bin/tallyvane" "$@"
