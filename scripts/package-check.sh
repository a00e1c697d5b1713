#!/usr/bin/env bash
# Builds the Debian package from a Release build, checks it with the desktop,
# AppStream and Debian validators, installs it with apt, runs the installed
# program and removes it again.
# It installs into this machine (as root), so CI runs it; do not run it on your
# own desktop unless you mean to. Usage: scripts/package-check.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/package}

if [ "$(id -u)" -ne 0 ]; then
    echo "package-check installs the package into this machine and must run as root" >&2
    exit 1
fi

source scripts/lib/packages.sh
tools=(dpkg-dev lintian appstream desktop-file-utils fakeroot xvfb xauth)
mapfile -t missing < <(tallyvane_missing_packages "${tools[@]}" <<<"$(tallyvane_installed_packages)")
tallyvane_install_packages "${missing[@]}"

step() { printf '\n== %s\n' "$*"; }

step "Release build with Debian's build flags"
# Debian's hardening (fortify, stack protector, relro, bind now), as a
# distribution build has it.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# Given on the command line, since CMake reads CXXFLAGS and LDFLAGS only when
# it first configures a build folder.
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" \
    -DTALLYVANE_TESTS=OFF -DTALLYVANE_BENCH=OFF >/dev/null
cmake --build "$build"
rm -f "$build"/tallyvane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/tallyvane_*_amd64.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: cpack made no tallyvane_<version>_amd64.deb" >&2; exit 1; }
deb=$(realpath "${debs[0]}")
echo "built $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

step "Validators on the files the package carries"
unpacked=$(mktemp -d)
installed=
cleanup() {
    rm -rf "$unpacked" "$unpacked.install"
    if [ -n "$installed" ]; then
        DEBIAN_FRONTEND=noninteractive apt-get remove -y tallyvane >/dev/null || true
    fi
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$unpacked"
for wanted in usr/bin/tallyvane usr/share/tallyvane/areacodes.db usr/share/tallyvane/help.html \
    usr/bin/tallyvane-convert usr/share/man/man1/tallyvane.1.gz usr/share/man/man1/tallyvane-convert.1.gz \
    usr/share/doc/tallyvane/copyright usr/share/doc/tallyvane/changelog.gz \
    usr/share/applications/io.github.veltmark.tallyvane.desktop \
    usr/share/metainfo/io.github.veltmark.tallyvane.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/io.github.veltmark.tallyvane.svg \
    usr/share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/io.github.veltmark.tallyvane.png; do
    [ -e "$unpacked/$wanted" ] || { echo "FAIL: the package lacks /$wanted" >&2; exit 1; }
done
# Everything `cmake --install` installs, and nothing else.
staging=$unpacked.install
DESTDIR=$staging cmake --install "$build" >/dev/null
if ! diff -u <(cd "$staging" && find . ! -type d | sort) <(cd "$unpacked" && find . ! -type d | sort); then
    echo "FAIL: the package and cmake --install differ (- install only, + package only)" >&2
    exit 1
fi
grep -q '^StartupWMClass=Tallyvane$' "$unpacked"/usr/share/applications/*.desktop ||
    { echo "FAIL: the desktop file has no StartupWMClass" >&2; exit 1; }
desktop-file-validate "$unpacked"/usr/share/applications/io.github.veltmark.tallyvane.desktop
appstreamcli validate --pedantic --no-net \
    "$unpacked"/usr/share/metainfo/io.github.veltmark.tallyvane.metainfo.xml
changelog_version=$(zcat "$unpacked/usr/share/doc/tallyvane/changelog.gz" | head -n 1 |
    sed -n 's/^tallyvane (\([^)]*\)).*/\1/p')
package_version=$(dpkg-deb -f "$deb" Version)
[ "$changelog_version" = "$package_version" ] ||
    { echo "FAIL: changelog $changelog_version, package $package_version" >&2; exit 1; }

step "lintian (errors fail; every other tag is listed)"
lintian --fail-on error --display-info --allow-root "$deb"

step "apt-get install ./$(basename "$deb")"
# Without the recommended spreadsheet application: CI has LibreOffice's
# headless part already, and the full one is a large download.
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-remove --no-install-recommends "$deb"
installed=1
[ "$(command -v tallyvane)" = /usr/bin/tallyvane ] ||
    { echo "FAIL: tallyvane is not /usr/bin/tallyvane" >&2; exit 1; }

step "The installed program"
xvfb-run -a /usr/bin/tallyvane --self-test
version=$(QT_QPA_PLATFORM=offscreen timeout 20 /usr/bin/tallyvane --version 2>&1) ||
    { echo "FAIL: tallyvane --version failed: $version" >&2; exit 1; }
[[ $version == *"$package_version"* ]] ||
    { echo "FAIL: tallyvane --version does not name $package_version: $version" >&2; exit 1; }
echo "$version"
converted=$(printf '1 (436) 555-0142\nNH\n' | /usr/bin/tallyvane-convert)
[ "$converted" = "$(printf 'OH\nNot Found')" ] ||
    { echo "FAIL: the installed tallyvane-convert gave: $converted" >&2; exit 1; }
/usr/bin/tallyvane-convert --version
# The installed program reads a workbook that LibreOffice (there for the
# tests) writes.
command -v soffice >/dev/null ||
    { echo "FAIL: LibreOffice (soffice), which writes the test workbook, is missing" >&2; exit 1; }
book=$(mktemp -d)
printf 'Name,Phone\nAda,603-237-4934\n' >"$book/contacts.csv"
soffice --headless --convert-to xlsx --outdir "$book" "$book/contacts.csv" >/dev/null 2>&1
from_book=$(/usr/bin/tallyvane-convert --column Phone "$book/contacts.xlsx") || true
rm -rf "$book"
[ "$from_book" = "$(printf 'Name,Phone,State\nAda,603-237-4934,NH')" ] ||
    { echo "FAIL: the installed tallyvane-convert read the workbook as: $from_book" >&2; exit 1; }

step "apt-get remove tallyvane"
DEBIAN_FRONTEND=noninteractive apt-get remove -y tallyvane
installed=
[ ! -e /usr/bin/tallyvane ] || { echo "FAIL: /usr/bin/tallyvane is still there" >&2; exit 1; }
echo "PASS: package built, validated, installed, run and removed"
