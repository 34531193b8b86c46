#!/bin/sh
# Installs every Debian package the project needs to build, test and play.
# Idempotent: packages already present are left alone; apt-get update runs once.
set -eu

PACKAGES="g++ cmake ninja-build ccache qt6-base-dev qt6-base-dev-tools libgl-dev \
fonts-liberation2 fonts-dejavu-core fonts-dejavu-extra fonts-wine \
xvfb xauth xdotool imagemagick xdg-utils \
clang libclang-rt-14-dev python3 libxcb1-dev \
dpkg-dev desktop-file-utils appstream lintian qt6-svg-dev \
sox qt6-multimedia-dev weston qt6-wayland openbox x11-utils \
pulseaudio pulseaudio-utils strace \
dbus-daemon dbus-bin at-spi2-core gir1.2-atspi-2.0 python3-gi orca"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

echo "Installing:$missing"
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
