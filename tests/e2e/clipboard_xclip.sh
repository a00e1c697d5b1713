#!/bin/bash
# Copies results through the real Qt clipboard in an X session (Xvfb) and has
# another X client, xclip, read them back.
# Usage: clipboard_xclip.sh PROGRAM ARTEFACT_DIR   (the test program sits beside PROGRAM)
set -euo pipefail
program=$1
artefacts=${2:-${TMPDIR:-/tmp}/tallyvane-e2e}
test_program="$(dirname "$program")/test_qt_clipboard"
for tool in xvfb-run xauth xclip; do
    command -v "$tool" >/dev/null || { echo "missing $tool (Debian: xvfb, xauth, xclip)" >&2; exit 1; }
done
[ -x "$test_program" ] || { echo "missing $test_program: build the tests first" >&2; exit 1; }
mkdir -p "$artefacts"
log="$artefacts/clipboard_xclip.log"
if QT_QPA_PLATFORM=xcb TALLYVANE_REQUIRE_X11=1 \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$test_program" >"$log" 2>&1; then
    tail -n 3 "$log"
else
    cat "$log"
    exit 1
fi
