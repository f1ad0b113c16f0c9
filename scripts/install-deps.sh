#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when all are present.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    qt6-multimedia-dev qt6-svg-dev dbus
    libsqlite3-dev sqlite3 libxkbcommon-dev libxcb1-dev xvfb liblz4-dev
    libwayland-dev libwayland-bin wayland-protocols sway
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-webengine-dev qt6-pdf-dev libjs-chart.js fonts-inter
    libpq-dev postgresql qtkeychain-qt6-dev gnome-keyring
)

# Extra packages a caller needs (measurement scripts), given as arguments.
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
