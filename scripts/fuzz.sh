#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS from its seed corpus.
# Exits non-zero when any target finds a crash, a sanitizer report, a hang or
# a broken rule; the input that did it is kept in build/fuzz/findings/.
# Usage: scripts/fuzz.sh [SECONDS]   (60 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

# clang and its libFuzzer runtime, on top of what scripts/setup.sh installs,
# added the same careful way (never removing a package).
source scripts/lib/packages.sh
mapfile -t missing < <(tallyvane_missing_packages clang libclang-rt-14-dev <<<"$(tallyvane_installed_packages)")
tallyvane_install_packages "${missing[@]}"

scripts/setup.sh fuzz

out=build/fuzz
mkdir -p "$out/findings" "$out/logs"
status=0
for source in tests/fuzz/*/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    seeds=$(dirname "$source")/corpus/${name#fuzz_}
    # New inputs go to the build tree; the seeds in the repository stay as they are.
    corpus=$out/corpus/$name
    log=$out/logs/$name.log
    mkdir -p "$corpus"
    # A target may bring a dictionary of words worth splicing into its inputs.
    options=()
    [ -f "${source%.cpp}.dict" ] && options+=(-dict="${source%.cpp}.dict")
    echo "== $name: ${seconds} s"
    if "$out/fuzz/$name" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$out/findings/$name-" "${options[@]}" \
        "$corpus" "$seeds" >"$log" 2>&1; then
        grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|peak_rss_mb)' "$log" || true
    else
        status=1
        echo "FINDING in $name (log: $log):"
        tail -n 60 "$log"
    fi
done
exit $status
