#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, when it is missing.
set -euo pipefail

PACKAGES=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-serialport-dev qt6-svg-dev
    libgl-dev libgtest-dev
    clang libclang-rt-14-dev clang-format
    xvfb xauth
    debhelper dpkg-dev fakeroot lintian appstream desktop-file-utils man-db bash-completion
    g++-mingw-w64-x86-64-posix wine wine64 googletest fonts-wine msitools wixl librsvg2-bin python3
    postgresql libpq-dev libqt6sql6-psql libqt6sql6-sqlite
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then
    SUDO=()
elif command -v sudo >/dev/null; then
    echo "setup: installing packages needs root; using sudo" >&2
    SUDO=(sudo)
else
    echo "setup: installing packages needs root: run this as root, or install: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
