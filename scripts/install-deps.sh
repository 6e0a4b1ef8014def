#!/bin/sh
# Installs the Debian packages Korvel needs to build, test and run.
# Idempotent: packages already present are left alone, and apt is not
# touched at all when nothing is missing.
set -eu

PACKAGES="
build-essential
cmake
ninja-build
pkg-config
libsqlite3-dev
libcurl4-openssl-dev
libpugixml-dev
libcpp-httplib-dev
libcli11-dev
libboost-dev
libgtest-dev
libgmock-dev
libbenchmark-dev
qt6-base-dev
libxcb1-dev
libgl-dev
fonts-noto-cjk
xvfb
xauth
"

missing=""
for pkg in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $pkg"
    fi
done

if [ -z "$missing" ]; then
    echo "install-deps: all packages present"
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

echo "install-deps: installing$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
