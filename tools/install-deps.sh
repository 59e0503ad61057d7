#!/usr/bin/env bash
# Installs the Debian 12 packages Tavro needs to build, run and test; does nothing when all are
# there. Uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev libarchive-dev liblhasa-dev libgif-dev libwebp-dev libhwy-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format-14
  # tools/check-naming.sh
  clang-tidy-14
  xvfb xauth xdotool xclip imagemagick python3 jlha-utils zip unzip time
  # The program's own messages are Japanese; without a font for them a box shows empty squares.
  fonts-vlgothic
  # Installing and packaging: the validators, the MIME and desktop databases, xdg-mime (which
  # reads the MIME database through mimetype), the manual page formatter and dpkg-shlibdeps.
  desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl groff man-db
  dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
