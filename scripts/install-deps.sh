#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing paravib need, only when one is
# missing. Runs apt-get as root, or through sudo for another user. Extra package names may follow.
set -euo pipefail

packages=(
  g++ cmake make pkg-config python3 dpkg-dev file
  libgtest-dev libbenchmark-dev
  freeglut3-dev libgl1-mesa-dev libglu1-mesa-dev libx11-dev libgl1-mesa-dri libpng-dev
  xvfb xauth xdotool x11-apps x11-utils
  pandoc desktop-file-utils man-db
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
