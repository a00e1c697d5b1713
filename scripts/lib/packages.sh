# Which Debian packages Tallyvane's scripts install, and how, kept apart from
# the scripts so that the choice can be tested on a made-up machine.
# Sourced by scripts/setup.sh and by tests/scripts/test_package_selection.sh.

# Building and running the program.
TALLYVANE_RUN_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev libxcb1-dev libsqlite3-dev libxlsxwriter-dev libcsv-dev libzip-dev libexpat1-dev libhwy-dev
    fonts-liberation2
)

# Only for the tests: the independent area-code source, an X server, clipboard
# and window tools, and what the end-to-end scripts read results back with.
# A spreadsheet application is chosen apart (tallyvane_spreadsheet_package).
TALLYVANE_TEST_PACKAGES=(
    git libphonenumber-dev libx11-dev xvfb xauth xclip xdotool imagemagick x11-utils unzip
    # the format check and the checks of .clang-tidy that the ci preset runs
    clang-format clang-tidy
    # the area-code maintainers' NANPA check and the time-zone table's tool, and their tests
    python3 python3-bson
    # workbooks written by openpyxl (the writer behind pandas), for the workbook reader's tests
    python3-openpyxl
    # the sqlite3 shell, for the README's SQL lines
    sqlite3
    # the accessibility bus and a client that reads the window as a screen reader does
    dbus at-spi2-core python3-pyatspi
)

# Prints, one a line, the names among "$@" that are not in the installed list
# read from standard input (one package name a line, as dpkg-query prints them).
tallyvane_missing_packages() {
    local -A installed=()
    local name
    while IFS= read -r name; do
        [[ -n $name ]] && installed[$name]=1
    done
    for name in "$@"; do
        [[ -n ${installed[$name]:-} ]] || printf '%s\n' "$name"
    done
}

# The spreadsheet package the tests need, or nothing when a LibreOffice Calc is
# there already: the desktop one and the headless one conflict, and installing
# either over the other would remove the person's office suite.
# $1: "yes" when a soffice program is on the PATH. Installed list on stdin.
tallyvane_spreadsheet_package() {
    local has_soffice=$1 name
    while IFS= read -r name; do
        case $name in
        libreoffice-calc | libreoffice-calc-nogui) return 0 ;;
        esac
    done
    [[ $has_soffice == yes ]] && return 0
    echo libreoffice-calc-nogui
}

# The packages installed on this machine, one a line.
tallyvane_installed_packages() {
    dpkg-query -W -f='${db:Status-Status} ${Package}\n' 2>/dev/null | sed -n 's/^installed //p'
}

# Installs "$@" with apt-get, never removing a package: a dry run that plans a
# removal stops here with the packages named, and --no-remove makes apt-get
# itself refuse one too. $APT_GET (default apt-get) lets a test stand in for it.
tallyvane_install_packages() {
    (($#)) || return 0
    local apt=${APT_GET:-apt-get}
    local command="$apt install -y --no-install-recommends --no-remove $*"
    if [[ $(id -u) -ne 0 && -z ${APT_GET:-} ]]; then
        echo "Tallyvane needs these Debian packages. Install them as root with:" >&2
        echo "  sudo apt-get update && sudo $command" >&2
        return 1
    fi
    echo "Installing: $*"
    $apt update -q
    local removals
    removals=$($apt install -s --no-install-recommends "$@" | sed -n 's/^Remv \([^ ]*\).*/\1/p')
    if [[ -n $removals ]]; then
        echo "Not installing $*: apt would remove $(echo $removals)." >&2
        echo "Install them by hand if that is what you want." >&2
        return 1
    fi
    DEBIAN_FRONTEND=noninteractive $command
}
