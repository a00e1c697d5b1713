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

source "$here/lib/session.sh"
require_tools "xvfb xauth dbus at-spi2-core python3-pyatspi" \
    xvfb-run xauth dbus-run-session "$python" "$launcher" py:pyatspi
in_xvfb dbus-run-session --

make_scratch
"$launcher" --launch-immediately >"$artefacts/accessibility_bus.log" 2>&1 &
helpers+=($!)
if ! poll 50 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1; then
    echo "SKIP: the accessibility bus (at-spi-bus-launcher) did not start; see $artefacts/accessibility_bus.log"
    exit 77
fi

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 start_program
timeout 120 "$python" "$here/accessibility_atspi.py" "$XDG_CONFIG_HOME/Veltmark/Tallyvane.conf"
