#!/usr/bin/env bash
# The set-up scripts' choice of Debian packages, on made-up machines: they add
# only what is missing, run.sh asks for no test tool, an installed LibreOffice
# Calc is used as it is, and a plan that would remove a package installs nothing.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/packages.sh"

failures=0
passes=0
check() { # name expected actual
    if [[ $2 == "$3" ]]; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
    fi
}

check "only the missing ones, in the order asked" $'cmake\nxvfb' \
    "$(printf 'git\nninja-build\n' | tallyvane_missing_packages cmake git xvfb ninja-build)"
check "nothing missing" "" "$(printf 'a\nb\n' | tallyvane_missing_packages b a)"

for tool in xvfb xauth xclip xdotool imagemagick libphonenumber-dev libreoffice-calc \
    libreoffice-calc-nogui; do
    for package in "${TALLYVANE_RUN_PACKAGES[@]}"; do
        [[ $package == "$tool" ]] && check "run.sh installs no $tool" "" "$package"
    done
done

desktop=$'libreoffice-calc\nlibreoffice-writer\nlibreoffice-impress'
check "desktop Calc is used" "" "$(tallyvane_spreadsheet_package no <<<"$desktop")"
check "headless Calc is used" "" "$(tallyvane_spreadsheet_package no <<<libreoffice-calc-nogui)"
check "a soffice on the PATH is used" "" "$(tallyvane_spreadsheet_package yes <<<"")"
check "no Calc: the headless one" libreoffice-calc-nogui \
    "$(tallyvane_spreadsheet_package no <<<$'cmake\nlibreoffice-writer')"

# A stand-in for apt-get that records its calls and, on a dry run, plans what
# apt plans on a desktop with LibreOffice when asked for the headless Calc.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$(dirname "$0")/calls"
[[ " $* " == *" -s "* && " $* " == *" libreoffice-calc-nogui "* ]] &&
    echo "Remv libreoffice-calc [4:7.4.7-1]" && echo "Remv libreoffice-writer [4:7.4.7-1]"
exit 0
STUB
chmod +x "$work/apt-get"
export APT_GET=$work/apt-get

tallyvane_install_packages libreoffice-calc-nogui >/dev/null 2>"$work/err"
check "a planned removal stops the install" 1 "$?"
check "the removal is named" yes "$(grep -q 'remove libreoffice-calc libreoffice-writer' "$work/err" && echo yes)"
check "nothing was installed" "" "$(grep -v -e '^update' -e ' -s ' "$work/calls")"

: >"$work/calls"
tallyvane_install_packages xclip >/dev/null 2>&1
check "a harmless install goes ahead" 0 "$?"
check "apt refuses removals itself too" yes \
    "$(grep -q '^install -y --no-install-recommends --no-remove xclip$' "$work/calls" && echo yes)"

: >"$work/calls"
tallyvane_install_packages
check "nothing to install calls no apt" "" "$(cat "$work/calls")"

echo "$passes passed, $failures failed"
((failures == 0))
