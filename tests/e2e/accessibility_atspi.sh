#!/usr/bin/env bash
# What a screen reader sees, through AT-SPI in a real X server: the lists'
# descriptions, the progress bar's text during a run, and a direction chosen
# with the accessible "Toggle" action being saved.
#   $1  the tallyvane program      $2  folder for the log
# Exits 77 (skipped) when the accessibility bus cannot be started here.
set -euo pipefail

program=${1:?usage: accessibility_atspi.sh PROGRAM ARTEFACT_DIR}
artefacts=${2:?usage: accessibility_atspi.sh PROGRAM ARTEFACT_DIR}
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher

missing=()
for tool in xvfb-run xauth dbus-run-session "$python" "$launcher"; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
"$python" -c 'import pyatspi' 2>/dev/null || missing+=(pyatspi)
if ((${#missing[@]})); then
    echo "missing: ${missing[*]}" >&2
    echo "install them with: apt-get install xvfb xauth dbus at-spi2-core python3-pyatspi" >&2
    exit 1
fi

if [[ -z ${TALLYVANE_E2E_DISPLAY:-} ]]; then
    mkdir -p "$artefacts"
    exec xvfb-run -a -s "-screen 0 1280x1024x24" \
        dbus-run-session -- env TALLYVANE_E2E_DISPLAY=1 bash "$0" "$program" "$artefacts"
fi

config_home=$(mktemp -d)
export XDG_CONFIG_HOME=$config_home
unset QT_QPA_PLATFORM
log=$artefacts/accessibility_atspi.log
pids=()
finish() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$config_home"
}
trap finish EXIT

"$launcher" --launch-immediately >"$artefacts/accessibility_bus.log" 2>&1 &
pids+=($!)
bus_up=
for _ in $(seq 50); do
    if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1; then
        bus_up=1
        break
    fi
    sleep 0.1
done
if [[ -z $bus_up ]]; then
    echo "SKIP: the accessibility bus (at-spi-bus-launcher) did not start; see $artefacts/accessibility_bus.log"
    exit 77
fi

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$program" >"$log" 2>&1 &
pids+=($!)
timeout 120 "$python" "$here/accessibility_atspi.py" "$config_home/Veltmark/Tallyvane.conf"
