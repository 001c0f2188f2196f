#!/bin/sh
# Installs what building, running and testing need on Debian 12, only what is
# missing. Runs as root, or through sudo when that is available.
set -eu

PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
libgtest-dev libgmock-dev iproute2 util-linux xvfb xauth x11-apps x11-utils desktop-file-utils imagemagick fonts-noto-cjk qt6-translations-l10n
clang libclang-rt-14-dev"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "setup: installing$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
