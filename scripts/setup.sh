#!/usr/bin/env bash
# Installs what Tallyvane needs to build, run and test on Debian 12, then
# configures and builds. Usage: scripts/setup.sh [preset]   (default: dev)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-qpa-plugins libgl-dev libsqlite3-dev libxlsxwriter-dev
    fonts-liberation2
    # tests: the independent area-code source, an X server, clipboard and
    # window tools, and a real spreadsheet application to read workbooks back
    libphonenumber-dev xvfb xauth xclip xdotool imagemagick x11-utils unzip libreoffice-calc-nogui
    # the area-code maintainers' NANPA check and its test
    python3
    # the accessibility bus and a client that reads the window as a screen reader does
    dbus at-spi2-core python3-pyatspi
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done

if ((${#missing[@]})); then
    command="apt-get install -y --no-install-recommends ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Tallyvane needs these Debian packages. Install them as root with:" >&2
        echo "  sudo apt-get update && sudo $command" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive $command
fi

preset=${1:-dev}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
