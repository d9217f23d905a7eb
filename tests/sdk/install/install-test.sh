#!/usr/bin/env bash
# Installs the SDK from a build folder into a temporary prefix, then builds and runs the same plain C program
# twice outside the source tree: once through find_package(CalvoxSDK), once through pkg-config with gcc.
# Usage: install-test.sh <build-dir> <consumer-source-dir>
set -euo pipefail
build=$1
consumer=$2
work=$(mktemp -d /tmp/calvox-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" --component CalvoxSDK >/dev/null
echo "installed:"; (cd "$prefix" && find . -type f -o -type l | sort)
test -f "$prefix/include/CalvoxSDK.h"

# CMake package.
cmake -S "$consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/cmake-build" >/dev/null
"$work/cmake-build/consumer"

# pkg-config, with nothing but gcc.
pc=$(find "$prefix" -name calvoxsdk.pc | head -n 1)
test -n "$pc"
export PKG_CONFIG_PATH=$(dirname "$pc")
flags=$(pkg-config --cflags --libs calvoxsdk)
echo "pkg-config: $flags"
gcc -std=c11 -Wall -Wextra -Werror "$consumer/main.c" $flags -o "$work/pc-consumer"
LD_LIBRARY_PATH=$(pkg-config --variable=libdir calvoxsdk) "$work/pc-consumer"
