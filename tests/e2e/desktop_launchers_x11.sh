#!/bin/bash
# The launcher tests in a real X session (Xvfb), where Qt hands addresses to
# the desktop's launcher: with none on the PATH, and with a stand-in.
# Usage: desktop_launchers_x11.sh PROGRAM ARTEFACT_DIR   (the test program sits beside PROGRAM)
set -euo pipefail
program=$1
artefacts=${2:-${TMPDIR:-/tmp}/tallyvane-e2e}
source "$(dirname "$0")/lib/session.sh"
run_test_program_in_xvfb "$(dirname "$program")/test_desktop_launchers"
