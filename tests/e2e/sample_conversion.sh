#!/usr/bin/env bash
# The typical road through the real program in a real X server: load the
# sample set, convert area codes to states, dismiss "Done.", copy the results
# and read them back from the clipboard with another X client.
#   $1  the tallyvane program      $2  folder for the screenshots and the log
set -euo pipefail

program=${1:?usage: sample_conversion.sh PROGRAM ARTEFACT_DIR}
artefacts=${2:?usage: sample_conversion.sh PROGRAM ARTEFACT_DIR}
source "$(dirname "$0")/lib/session.sh"
require_tools "xvfb xauth xdotool imagemagick xclip" xvfb-run xauth xdotool import xclip
in_xvfb

make_scratch
start_program
open_main_window
[[ $WIDTH == 536 && $HEIGHT == 553 ]] || fail "the window is ${WIDTH}x$HEIGHT, not 536x553"

click 4080 3040 3840 405 # PushButton7 "Load Sample/Example Data"
click 120 4335 7800 405  # PushButton17 "Start Converting"
dismiss_box sample_conversion_done.png
sleep 0.3
import -window "$main" "$artefacts/sample_conversion.png"

click 120 7260 3840 405 # PushButton5 "Copy Results To Clipboard"
dismiss_box sample_conversion_copied.png

expect_clipboard $'Not Found\r\nNH\r\nNot Found\r\nNJ\r\nNJ\r\nNJ\r\nNH\r\nNH\r\n'
kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
echo "PASS: sample set converted; the clipboard holds the eight expected rows"
