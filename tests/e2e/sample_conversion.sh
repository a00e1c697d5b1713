#!/usr/bin/env bash
# The typical road through the real program in a real X server: load the
# sample set, convert area codes to states, dismiss "Done.", copy the results
# and read them back from the clipboard with another X client.
#   $1  the tallyvane program      $2  folder for the screenshots and the log
set -euo pipefail

program=${1:?usage: sample_conversion.sh PROGRAM ARTEFACT_DIR}
artefacts=${2:?usage: sample_conversion.sh PROGRAM ARTEFACT_DIR}

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

# Inside the X server from here on.
config_home=$(mktemp -d)
export XDG_CONFIG_HOME=$config_home
unset QT_QPA_PLATFORM
log=$artefacts/sample_conversion.log
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
    import -window root "$artefacts/sample_conversion_failure.png" 2>/dev/null || true
    echo "screen saved as $artefacts/sample_conversion_failure.png, program output in $log" >&2
    exit 1
}

"$program" >"$log" 2>&1 &
pid=$!

main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tallyvane$' | head -n 1) ||
    fail "the main window did not appear"
eval "$(xdotool getwindowgeometry --shell "$main")" # X, Y, WIDTH, HEIGHT
[[ $WIDTH == 536 && $HEIGHT == 553 ]] || fail "the window is ${WIDTH}x$HEIGHT, not 536x553"

# Clicks the middle of a control given by its place in twips (15 to a pixel).
click() {
    local left=$1 top=$2 width=$3 height=$4
    xdotool mousemove --sync $((X + (left + width / 2) / 15)) $((Y + (top + height / 2) / 15))
    xdotool click 1
}

# Waits for a message box (any other visible window of the program), takes its
# picture, and presses Return in it. An error report fails the run.
dismiss_box() {
    local picture=$1 box=
    for _ in $(seq 100); do
        if xdotool search --onlyvisible --name '^Application Error$' >/dev/null 2>&1; then
            fail "an error report was shown"
        fi
        box=$(xdotool search --onlyvisible --pid "$pid" --name '.' 2>/dev/null | grep -vx "$main" |
            head -n 1) || true
        [[ -n $box ]] && break
        sleep 0.1
    done
    [[ -n $box ]] || fail "no message box appeared for $picture"
    sleep 0.3
    import -window "$box" "$artefacts/$picture" || true
    xdotool windowfocus --sync "$box"
    xdotool key --clearmodifiers Return
    for _ in $(seq 50); do
        xdotool search --onlyvisible --pid "$pid" --name '.' 2>/dev/null | grep -qx "$box" || return 0
        sleep 0.1
    done
    fail "the message box for $picture did not close"
}

click 4080 3040 3840 405 # PushButton7 "Load Sample/Example Data"
click 120 4335 7800 405  # PushButton17 "Start Converting"
dismiss_box sample_conversion_done.png
sleep 0.3
import -window "$main" "$artefacts/sample_conversion.png"

click 120 7260 3840 405 # PushButton5 "Copy Results To Clipboard"
dismiss_box sample_conversion_copied.png

expected=$'Not Found\r\nNH\r\nNot Found\r\nNJ\r\nNJ\r\nNJ\r\nNH\r\nNH\r\n'
actual=$(xclip -o -selection clipboard | od -An -c)
[[ $actual == "$(printf '%s' "$expected" | od -An -c)" ]] ||
    fail "the clipboard holds:$(printf '\n%s' "$actual")"

kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
echo "PASS: sample set converted; the clipboard holds the eight expected rows"
