#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then
# configures and builds into the folder given as $1 (default: build).
# Extra arguments are passed to cmake's configure step.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
shift || true

packages=(build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libplist-dev libicu-dev libcairo2-dev libpango1.0-dev
  fonts-inter fonts-materialdesignicons-webfont
  dbus-daemon libsdbus-c++-dev libsystemd-dev clang lld libclang-rt-14-dev ccache
  libsdl2-dev xvfb xdotool x11-apps)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$here/$build" -G Ninja "$@"
cmake --build "$here/$build" -j "$(nproc)"
