#!/usr/bin/env bash
# The command line as a shell user meets it. Without a display: --help and
# --version answer on standard output, a mistake gives the usage and status 2,
# and starting the window gives one line and status 1, never a core dump.
# In an X server: files named on the command line are loaded and converted.
#   $1  the tallyvane program      $2  folder for the screenshots and the log
set -euo pipefail
program=${1:?usage: command_line.sh PROGRAM ARTEFACT_DIR}
artefacts=${2:?usage: command_line.sh PROGRAM ARTEFACT_DIR}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/session.sh"
mkdir -p "$artefacts"
make_scratch

if [[ -z ${TALLYVANE_E2E_DISPLAY:-} ]]; then
    run() { # expected-status args... ; leaves out/err in $work
        local expected=$1 status=0
        shift
        (cd "$work" && ulimit -c 0 && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
            "$program" "$@" >"$work/out" 2>"$work/err") || status=$?
        ((status == expected)) || fail "tallyvane $* exited with $status, not $expected: $(cat "$work/err")"
    }
    run 0 --help
    grep -q '^Usage: tallyvane ' "$work/out" || fail "--help printed no usage"
    [[ ! -s $work/err ]] || fail "--help wrote to standard error"
    run 0 --version
    table_date=$(sed -n 's/.*kAreaCodeTableCurrentTo = QStringLiteral("\(.*\)");/\1/p' \
        "$here/../../src/commands/product.h")
    grep -q "^tallyvane [0-9.]*$" "$work/out" || fail "--version printed: $(cat "$work/out")"
    grep -qF "$table_date" "$work/out" || fail "--version does not name $table_date"
    run 2 --no-such-option
    [[ ! -s $work/out ]] || fail "a mistake wrote to standard output"
    grep -q "no-such-option" "$work/err" && grep -q '^Usage: ' "$work/err" ||
        fail "a mistake printed: $(cat "$work/err")"
    run 1 numbers.txt
    (($(wc -l <"$work/err") == 1)) || fail "no display printed: $(cat "$work/err")"
    echo "PASS: --help, --version, a mistake and no display"
fi
in_xvfb

# Inside the X server: two files, one with CR LF line ends, the other
# given by a path relative to the working folder.
printf '603\r\n201\r\n' >"$work/first.txt"
printf '212' >"$work/second.txt"
(cd "$work" && exec "$program" "$work/first.txt" second.txt) >"$log" 2>&1 &
pid=$!
open_main_window
click 120 4335 7800 405 # "Start Converting"
dismiss_box command_line_done.png
click 120 7260 3840 405 # "Copy Results To Clipboard"
dismiss_box command_line_copied.png
expect_clipboard $'NH\r\nNJ\r\nNY\r\n'
echo "PASS: files named on the command line were loaded in order"
