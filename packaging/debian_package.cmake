# `cpack -G DEB` in a build tree makes tallyvane_<version>_amd64.deb from
# everything `cmake --install` installs. scripts/package-check.sh builds,
# checks, installs and removes it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallyvane)
set(CPACK_PACKAGE_VENDOR Veltmark)
set(CPACK_PACKAGE_CONTACT "Veltmark <support@tallyvane.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert US telephone area codes to states and back")
# One string: a semicolon in it would split a CMake list and vanish.
set(CPACK_PACKAGE_DESCRIPTION "Tallyvane turns a list of US telephone area codes or phone \
numbers into the two-letter codes of their states, or a list of states into their area codes. \
Entries are typed, pasted, dropped on the window or loaded from text files. The results go to \
an aligned text file, a spreadsheet workbook or the clipboard. The batch converter \
tallyvane-convert does the same for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from the binaries; the window also needs Qt's
# platform plugins, which no binary links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-calc, xdg-utils, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
