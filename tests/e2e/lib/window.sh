# Driving the main window with xdotool. Loaded by open_main_window of
# session.sh, whose $main, $pid, $artefacts, fail and poll it uses.
eval "$(xdotool getwindowgeometry --shell "$main")" # X, Y, WIDTH, HEIGHT

# Clicks the middle of a control given by its place in twips (15 to a pixel).
click() {
    local left=$1 top=$2 width=$3 height=$4
    xdotool mousemove --sync $((X + (left + width / 2) / 15)) $((Y + (top + height / 2) / 15))
    xdotool click 1
}

# The first visible window of the program other than the main window, or nothing.
other_window() {
    xdotool search --onlyvisible --pid "$pid" --name '.' 2>/dev/null | grep -vx "$main" | head -n 1 || true
}

# Sets $box to a box of the program other than the main window, if one is
# shown. An error report fails the run.
find_box() {
    xdotool search --onlyvisible --name '^Application Error$' >/dev/null 2>&1 &&
        fail "an error report was shown"
    box=$(other_window)
    [[ -n $box ]]
}

box_closed() {
    ! xdotool search --onlyvisible --pid "$pid" --name '.' 2>/dev/null | grep -qx "$box"
}

# Waits for a box, presses Return in it and waits for it to close; what
# names the moment in the failure messages. With a picture, takes it first.
press_return_in_box() {
    local what=$1 picture=${2:-}
    box=
    poll 100 find_box || fail "no message box appeared $what"
    if [[ -n $picture ]]; then
        sleep 0.3
        import -window "$box" "$artefacts/$picture" || true
    fi
    xdotool windowfocus --sync "$box"
    xdotool key --clearmodifiers Return
    poll 50 box_closed || fail "the message box $what did not close"
}

# Waits for a message box, takes its picture, and presses Return in it.
dismiss_box() {
    press_return_in_box "for $1" "$1"
}
