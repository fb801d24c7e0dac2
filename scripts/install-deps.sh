#!/bin/sh
# The one complete list of Debian packages Kinemo needs to build, run and test.
# Installs only what is missing; runs `apt-get update` once before installing.
set -eu

PACKAGES="
  g++
  cmake
  ninja-build
  make
  pkg-config
  qt6-base-dev
  libqt6opengl6-dev
  qt6-qpa-plugins
  libgl-dev
  libglu1-mesa-dev
  libosmesa6-dev
  libgl1-mesa-dri
  liblua5.1-0-dev
  lua5.1
  libtolua++5.1-dev
  libdevil-dev
  qt6-image-formats-plugins
  libtinygltf-dev
  nlohmann-json3-dev
  libassimp-dev
  libminizip-dev
  assimp-utils
  ogre-1.12-tools
  libxml2-utils
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  clang
  libclang-rt-14-dev
  xvfb
  openbox
  wmctrl
  xdotool
  xauth
  x11-utils
  imagemagick
  locales-all
  fonts-dejavu-core
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  exit 0
fi

echo "install-deps: installing:$missing"

if [ "$(id -u)" -eq 0 ]; then
  run() { "$@"; }
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  run() { sudo "$@"; }
else
  echo "install-deps: missing packages:$missing" >&2
  echo "install-deps: cannot install them: not root and sudo is unavailable or needs a password." >&2
  echo "install-deps: run as root:  apt-get update && apt-get install -y$missing" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
run apt-get update -qq
# shellcheck disable=SC2086
run apt-get install -y -qq --no-install-recommends $missing
