#!/usr/bin/env bash
# Keyboard only, in a real X server: text put on the clipboard by another X
# client (xclip) is pasted with a real Ctrl+V, converted with Ctrl+Return and
# copied with Ctrl+Shift+C; xclip reads the rows back.
#   $1  the tallyvane program      $2  folder for the screenshots and the log
set -euo pipefail

program=${1:?usage: paste_shortcuts.sh PROGRAM ARTEFACT_DIR}
artefacts=${2:?usage: paste_shortcuts.sh PROGRAM ARTEFACT_DIR}
source "$(dirname "$0")/lib/session.sh"
require_tools "xvfb xauth xdotool imagemagick xclip" xvfb-run xauth xdotool import xclip
in_xvfb

make_scratch
start_program
open_main_window

# xclip keeps serving the clipboard in the background until the program takes it over.
printf '603\r\n 201-555-0142 \nnh\r' | xclip -selection clipboard -i
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+v
xdotool key --clearmodifiers ctrl+Return
press_return_in_box "after Ctrl+Return"
import -window "$main" "$artefacts/paste_shortcuts.png" || true
# There is no window manager to give the focus back once the box has closed.
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+shift+c
press_return_in_box "after Ctrl+Shift+C"

expect_clipboard $'NH\r\nNJ\r\nNot Found\r\n'
kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
echo "PASS: three pasted lines converted and copied with the keyboard alone"
