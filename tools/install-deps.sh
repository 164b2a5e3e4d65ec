#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, running and testing Tresorix need.
# As root it installs what is missing with apt-get; otherwise it prints the one command to run.
set -euo pipefail

packages=(
    cmake ninja-build g++ make                # build tools
    qt6-base-dev qt6-base-dev-tools           # Qt 6 Widgets, Test, DBus and their tools (moc)
    qt6-qpa-plugins                           # window system plugins, the offscreen one for tests
    libqt6svg6-dev                            # the program's icons are drawn as SVG
    qt6-translations-l10n                     # German texts for Qt's standard buttons
    libgl-dev                                 # needed by Qt's CMake files
    libgtest-dev libgmock-dev                 # GoogleTest for the core tests
    clang libclang-rt-14-dev                  # the project reader's fuzz target (libFuzzer)
    fonts-liberation2 fonts-dejavu-core       # metric-compatible Arial/Courier New for the window tests
    dbus                                      # message bus daemon for the D-Bus tests
    systemd                                   # systemd-analyze and systemd-escape check the schedules' units
    desktop-file-utils                        # checks the launchers the program writes and the menu entry
    appstream                                 # checks the installed metainfo (appstreamcli validate)
    shared-mime-info libxml2-utils            # checks the project file type (update-mime-database, xmllint)
    groff-base                                # checks the manual pages
    dpkg-dev                                  # `make package`: dpkg-shlibdeps finds the runtime libraries
    dosfstools fusefat exfatprogs exfat-fuse  # tests that back up onto FAT and exFAT images through FUSE
    acl attr python3                          # bench/fidelity: ACLs, attributes and the comparison
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    echo "Tresorix needs these Debian packages: ${missing[*]}" >&2
    echo "Install them with:" >&2
    echo "    sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
