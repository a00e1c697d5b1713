#!/usr/bin/env bash
# The clipboard outlives the window: with a clipboard manager running, results
# copied in the real program are still on the clipboard after its window was
# closed and the program has ended, and closing still ends it at once.
#   $1  the tallyvane program      $2  folder for the screenshots and the log
set -euo pipefail
program=${1:?usage: clipboard_manager.sh PROGRAM ARTEFACT_DIR}
artefacts=${2:?usage: clipboard_manager.sh PROGRAM ARTEFACT_DIR}
helper="$(dirname "$program")/x11_helper"
source "$(dirname "$0")/lib/session.sh"
[[ -x $helper ]] || { echo "missing $helper: build the tests first" >&2; exit 1; }
in_xvfb

make_scratch
"$helper" manager >"$work/manager.out" 2>"$artefacts/clipboard_manager_manager.log" &
helpers+=($!)
poll 50 grep -q ready "$work/manager.out" || fail "the clipboard manager did not start"

printf '603\r\n201\r\n' >"$work/entries.txt"
start_program "$work/entries.txt"
open_main_window
click 120 4335 7800 405 # "Start Converting"
dismiss_box clipboard_manager_done.png
click 120 7260 3840 405 # "Copy Results To Clipboard"
dismiss_box clipboard_manager_copied.png

started=$(date +%s%N)
"$helper" close "$main"
status=0
timeout 10 tail --pid="$pid" -f /dev/null || fail "the program did not end within 10 s of closing"
wait "$pid" || status=$?
pid=
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
((status == 0)) || fail "the program ended with status $status"
grep -q 'saved 8 bytes' "$artefacts/clipboard_manager_manager.log" ||
    fail "the manager saved nothing: $(cat "$artefacts/clipboard_manager_manager.log")"
expect_clipboard $'NH\r\nNJ\r\n'
echo "PASS: the copied results outlived the program, which ended ${elapsed_ms} ms after closing"
