#!/usr/bin/env bash
# The program's own start-up check in a real X server: the window is built,
# every control is there and the area-code database answers; no box is shown.
#   $1  the tallyvane program      $2  folder for the program's output
set -euo pipefail

program=${1:?usage: self_test.sh PROGRAM ARTEFACT_DIR}
artefacts=${2:?usage: self_test.sh PROGRAM ARTEFACT_DIR}

source "$(dirname "$0")/lib/session.sh"
require_tools "xvfb xauth" xvfb-run xauth

mkdir -p "$artefacts"
config_home=$(mktemp -d)
trap 'rm -rf "$config_home"' EXIT
output=$artefacts/self_test.log

status=0
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$config_home" \
    timeout 60 xvfb-run -a "$program" --self-test >"$output" 2>&1 || status=$?
cat "$output"
grep -q '^self-test passed: ' "$output" || { echo "FAIL: no passing self-test line" >&2; exit 1; }
((status == 0)) || { echo "FAIL: --self-test exited with $status" >&2; exit 1; }
echo "PASS: --self-test under Xvfb"
