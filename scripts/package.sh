#!/bin/sh
# Builds the Debian package of the game and prints its path.
#   sh scripts/package.sh             into build/
#   BUILD_DIR=dir sh scripts/package.sh
# Install it with: apt-get install ./build/zorban_<version>_<arch>.deb
set -eu
cd "$(dirname "$0")/.."
# Only the package's path goes to the standard output.
sh scripts/setup.sh >&2
sh scripts/build.sh >&2
BUILD_DIR="${BUILD_DIR:-build}"
log=$(cd "$BUILD_DIR" && cpack -G DEB 2>&1) || {
    printf '%s\n' "$log" >&2
    echo "package.sh: cpack could not build the package" >&2
    exit 1
}
deb=$(printf '%s\n' "$log" | sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' | tail -n 1)
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
    printf '%s\n' "$log" >&2
    echo "package.sh: cpack did not say where the package is" >&2
    exit 1
fi
echo "$deb"
