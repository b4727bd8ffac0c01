#!/usr/bin/env bash
# Installs what building, running and testing the viewer need on Debian 12.
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail
packages=(g++ cmake make git pkg-config
  qt6-base-dev libqt6opengl6-dev libgl1-mesa-dev libgl1-mesa-dri libicu-dev
  libxcb1-dev qt6-qpa-plugins fonts-noto-cjk fonts-dejavu-core xvfb xauth x11-utils
  libjpeg62-turbo-dev libpng-dev desktop-file-utils
  at-spi2-core dbus-daemon python3-gi gir1.2-atspi-2.0 qt6-translations-l10n
  qt6-wayland weston openbox xdotool)
"$(dirname "$0")/install_packages.sh" "${packages[@]}"
