#!/usr/bin/env bash
# The clipboard outlives the window: with a clipboard manager running, results
# copied in the real program are still on the clipboard after its window was
# closed and the program has ended, and closing still ends it at once.
#   $1  the tallyvane program      $2  folder for the screenshots and the log
set -euo pipefail
program=${1:?usage: clipboard_manager.sh PROGRAM ARTEFACT_DIR}
artefacts=${2:?usage: clipboard_manager.sh PROGRAM ARTEFACT_DIR}
helper="$(dirname "$program")/x11_helper"
here=$(cd "$(dirname "$0")" && pwd)
[[ -x $helper ]] || { echo "missing $helper: build the tests first" >&2; exit 1; }

if [[ -z ${TALLYVANE_E2E_DISPLAY:-} ]]; then
    mkdir -p "$artefacts"
    exec xvfb-run -a -s "-screen 0 1280x1024x24" \
        env TALLYVANE_E2E_DISPLAY=1 bash "$0" "$program" "$artefacts"
fi

work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config
unset QT_QPA_PLATFORM
pid= manager=
finish() {
    for p in $pid $manager; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap finish EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$helper" manager >"$work/manager.out" 2>"$artefacts/clipboard_manager_manager.log" &
manager=$!
for _ in $(seq 50); do grep -q ready "$work/manager.out" && break; sleep 0.1; done
grep -q ready "$work/manager.out" || fail "the clipboard manager did not start"

printf '603\r\n201\r\n' >"$work/entries.txt"
"$program" "$work/entries.txt" >"$artefacts/clipboard_manager.log" 2>&1 &
pid=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tallyvane$' | head -n 1) ||
    fail "the main window did not appear"
source "$here/lib/window.sh"
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
actual=$(timeout 5 xclip -o -selection clipboard | od -An -c)
[[ $actual == "$(printf 'NH\r\nNJ\r\n' | od -An -c)" ]] || fail "after the end the clipboard holds:$actual"
echo "PASS: the copied results outlived the program, which ended ${elapsed_ms} ms after closing"
