# Driving the main window with xdotool. Source it once $main (the window),
# $pid (the program), $artefacts and a fail function are set.
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

# Waits for a message box, takes its picture, and presses Return in it. An
# error report fails the run.
dismiss_box() {
    local picture=$1 box=
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^Application Error$' >/dev/null 2>&1 &&
            fail "an error report was shown"
        box=$(other_window)
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
