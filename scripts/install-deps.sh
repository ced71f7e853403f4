#!/bin/sh
# Installs the Debian packages the build and the tests need, when any is missing.
set -e
PACKAGES="cmake make g++ pkg-config libtinyxml-dev googletest libgtest-dev libgmock-dev libbenchmark-dev $*"
missing=""
for p in $PACKAGES; do
    dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
