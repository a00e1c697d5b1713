# What every end-to-end script needs around its checks: the tools, an X server
# of its own, a scratch folder, the program started and cleaned up, failures
# reported with a picture of the screen. Source it once $program and
# $artefacts are set; $name is the script's name, which names its log.
name=$(basename "$0" .sh)
log=$artefacts/$name.log
work= pid=
helpers=()

# Exits 1 naming the missing tools and the Debian packages that bring them.
# A tool given as py:MODULE is a module of /usr/bin/python3.
require_tools() {
    local packages=$1 tool missing=()
    shift
    for tool; do
        if [[ $tool == py:* ]]; then
            /usr/bin/python3 -c "import ${tool#py:}" 2>/dev/null || missing+=("${tool#py:}")
        else
            command -v "$tool" >/dev/null || missing+=("$tool")
        fi
    done
    if ((${#missing[@]})); then
        echo "missing tools: ${missing[*]}" >&2
        echo "install them with: apt-get install $packages" >&2
        exit 1
    fi
}

xvfb_screen="-screen 0 1280x1024x24"

# Runs this script again inside a new Xvfb server, unless it already runs in
# one. Arguments are commands that wrap it there, such as dbus-run-session --.
in_xvfb() {
    [[ -n ${TALLYVANE_E2E_DISPLAY:-} ]] && return 0
    mkdir -p "$artefacts"
    [[ -n $work ]] && rm -rf "$work"
    exec xvfb-run -a -s "$xvfb_screen" "$@" env TALLYVANE_E2E_DISPLAY=1 bash "$0" "$program" "$artefacts"
}

# Runs a Qt test program on X in a new Xvfb server, its output in the log.
run_test_program_in_xvfb() {
    local test_program=$1
    [[ -x $test_program ]] || { echo "missing $test_program: build the tests first" >&2; exit 1; }
    mkdir -p "$artefacts"
    if QT_QPA_PLATFORM=xcb TALLYVANE_REQUIRE_X11=1 \
        xvfb-run -a -s "$xvfb_screen" "$test_program" >"$log" 2>&1; then
        tail -n 3 "$log"
    else
        cat "$log"
        exit 1
    fi
}

# A scratch folder $work and a settings folder of the test's own in it; the
# program ($pid) and the $helpers are ended and the folder removed at the end.
make_scratch() {
    work=$(mktemp -d)
    export XDG_CONFIG_HOME=$work/config
    unset QT_QPA_PLATFORM
    trap finish EXIT
}
finish() {
    local p
    for p in $pid "${helpers[@]}"; do
        kill "$p" 2>/dev/null || true
        wait "$p" 2>/dev/null || true
    done
    rm -rf "$work"
}

fail() {
    echo "FAIL: $*" >&2
    if [[ -n ${DISPLAY:-} ]] && import -window root "$artefacts/${name}_failure.png" 2>/dev/null; then
        echo "screen saved as $artefacts/${name}_failure.png, program output in $log" >&2
    fi
    exit 1
}

# Runs the command every tenth of a second until it succeeds, at most TRIES times.
poll() {
    local tries=$1
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Starts the program with the arguments, its output in the log.
start_program() {
    "$program" "$@" >"$log" 2>&1 &
    pid=$!
}

# Waits for the main window of the started program ($main) and loads the
# functions that drive it.
open_main_window() {
    main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tallyvane$' | head -n 1) ||
        fail "the main window did not appear"
    source "$(dirname "${BASH_SOURCE[0]}")/window.sh"
}

# Fails unless the clipboard holds exactly the text.
expect_clipboard() {
    local actual
    actual=$(timeout 5 xclip -o -selection clipboard | od -An -c)
    [[ $actual == "$(printf '%s' "$1" | od -An -c)" ]] ||
        fail "the clipboard holds:$(printf '\n%s' "$actual")"
}
