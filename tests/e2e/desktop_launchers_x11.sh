#!/bin/bash
# The launcher tests in a real X session (Xvfb), where Qt hands addresses to
# the desktop's launcher: with none on the PATH, and with a stand-in.
# Usage: desktop_launchers_x11.sh PROGRAM ARTEFACT_DIR   (the test program sits beside PROGRAM)
set -euo pipefail
test_program="$(dirname "$1")/test_desktop_launchers"
artefacts=${2:-${TMPDIR:-/tmp}/tallyvane-e2e}
mkdir -p "$artefacts"
log="$artefacts/desktop_launchers_x11.log"
if QT_QPA_PLATFORM=xcb TALLYVANE_REQUIRE_X11=1 \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$test_program" >"$log" 2>&1; then
    tail -n 3 "$log"
else
    cat "$log"
    exit 1
fi
