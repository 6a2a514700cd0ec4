#!/usr/bin/env bash
# Installs whatever is missing on a Debian 12 machine: the build tools, the libraries, and
# what the headless GUI tests use. Safe to run again; it installs only missing packages.
set -euo pipefail

packages=(
  g++ meson ninja-build pkg-config
  libglib2.0-dev libgtk-4-dev libadwaita-1-dev libvte-2.91-gtk4-dev libpcre2-dev
  libtomlplusplus-dev libspdlog-dev libgtest-dev libgmock-dev
  librsvg2-common fonts-dejavu-core
  libx11-dev bash fish dbus dbus-x11 xvfb xauth xdotool imagemagick openbox
  desktop-file-utils appstream
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
  fi
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
