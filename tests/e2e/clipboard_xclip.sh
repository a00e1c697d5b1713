#!/bin/bash
# Copies results through the real Qt clipboard in an X session (Xvfb) and has
# another X client, xclip, read them back.
# Usage: clipboard_xclip.sh PROGRAM ARTEFACT_DIR   (the test program sits beside PROGRAM)
set -euo pipefail
program=$1
artefacts=${2:-${TMPDIR:-/tmp}/tallyvane-e2e}
source "$(dirname "$0")/lib/session.sh"
require_tools "xvfb xauth xclip" xvfb-run xauth xclip
run_test_program_in_xvfb "$(dirname "$program")/test_qt_clipboard"
