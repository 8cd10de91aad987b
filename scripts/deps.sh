#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and only those that
# are missing. Quiet when everything is already there.
#   scripts/deps.sh run    what the program needs
#   scripts/deps.sh test   that, plus the test, benchmark, sanitizer and fuzzing tools
set -euo pipefail

what=${1:-test}
packages=(g++ cmake ninja-build make pkg-config qt6-base-dev qt6-serialport-dev libgl-dev
          fonts-dejavu-core)
[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && packages+=(xvfb xauth)
if [ "$what" = test ]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev xvfb xauth
               imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
