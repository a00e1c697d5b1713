#!/usr/bin/env bash
# Keyboard only, in a real X server: text put on the clipboard by another X
# client (xclip) is pasted with a real Ctrl+V, converted with Ctrl+Return and
# copied with Ctrl+Shift+C; xclip reads the rows back.
#   $1  the tallyvane program      $2  folder for the screenshots and the log
set -euo pipefail

program=${1:?usage: paste_shortcuts.sh PROGRAM ARTEFACT_DIR}
artefacts=${2:?usage: paste_shortcuts.sh PROGRAM ARTEFACT_DIR}

missing=()
for tool in xvfb-run xauth xdotool import xclip; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
    echo "missing tools: ${missing[*]}" >&2
    echo "install them with: apt-get install xvfb xauth xdotool imagemagick xclip" >&2
    exit 1
fi

if [[ -z ${TALLYVANE_E2E_DISPLAY:-} ]]; then
    mkdir -p "$artefacts"
    exec xvfb-run -a -s "-screen 0 1280x1024x24" \
        env TALLYVANE_E2E_DISPLAY=1 bash "$0" "$program" "$artefacts"
fi

config_home=$(mktemp -d)
export XDG_CONFIG_HOME=$config_home
unset QT_QPA_PLATFORM
log=$artefacts/paste_shortcuts.log
pid=
finish() {
    if [[ -n $pid ]]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$config_home"
}
trap finish EXIT

fail() {
    echo "FAIL: $*" >&2
    import -window root "$artefacts/paste_shortcuts_failure.png" 2>/dev/null || true
    echo "screen saved as $artefacts/paste_shortcuts_failure.png, program output in $log" >&2
    exit 1
}

"$program" >"$log" 2>&1 &
pid=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tallyvane$' | head -n 1) ||
    fail "the main window did not appear"

# Waits for a box of the program other than the main window and presses Return in it.
dismiss_box() {
    local box=
    for _ in $(seq 100); do
        box=$(xdotool search --onlyvisible --pid "$pid" --name '.' 2>/dev/null | grep -vx "$main" |
            head -n 1) || true
        [[ -n $box ]] && break
        sleep 0.1
    done
    [[ -n $box ]] || fail "no message box appeared after $1"
    xdotool windowfocus --sync "$box"
    xdotool key --clearmodifiers Return
    for _ in $(seq 50); do
        xdotool search --onlyvisible --pid "$pid" --name '.' 2>/dev/null | grep -qx "$box" || return 0
        sleep 0.1
    done
    fail "the box after $1 did not close"
}

# xclip keeps serving the clipboard in the background until the program takes it over.
printf '603\r\n 201-555-0142 \nnh\r' | xclip -selection clipboard -i
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+v
xdotool key --clearmodifiers ctrl+Return
dismiss_box "Ctrl+Return"
import -window "$main" "$artefacts/paste_shortcuts.png" || true
# There is no window manager to give the focus back once the box has closed.
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+shift+c
dismiss_box "Ctrl+Shift+C"

expected=$'NH\r\nNJ\r\nNot Found\r\n'
actual=$(xclip -o -selection clipboard | od -An -c)
[[ $actual == "$(printf '%s' "$expected" | od -An -c)" ]] ||
    fail "the clipboard holds:$(printf '\n%s' "$actual")"
kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
echo "PASS: three pasted lines converted and copied with the keyboard alone"
