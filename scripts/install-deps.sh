#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
set -euo pipefail

packages=(
    cmake g++ make dpkg-dev qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core
    qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n libxlsxwriter-dev
    # the results tests read back the PDF the results window writes
    poppler-utils
    # the desktop suite: a virtual X server, a window manager and tools to drive them
    xvfb xauth openbox xdotool wmctrl x11-utils imagemagick
    # the screen reader's road: the accessibility bus and its Python client
    at-spi2-core python3-pyatspi dbus
    # building the package (CPack runs file and dpkg-shlibdeps) and checking it and the menu entry
    desktop-file-utils unzip file
    # the shared-folder tests: a Samba and an SSH server on the loopback interface, mounted with FUSE
    samba smbnetfs sshfs openssh-server openssh-client fuse3
)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
