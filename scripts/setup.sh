#!/usr/bin/env bash
# Installs what building, running and testing the viewer need on Debian 12.
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail
packages=(g++ cmake make git pkg-config
  qt6-base-dev libqt6opengl6-dev libgl1-mesa-dev libgl1-mesa-dri libicu-dev
  libxcb1-dev qt6-qpa-plugins fonts-noto-cjk fonts-dejavu-core xvfb xauth x11-utils
  libjpeg62-turbo-dev desktop-file-utils
  qt6-wayland weston)
"$(dirname "$0")/install_packages.sh" "${packages[@]}"
