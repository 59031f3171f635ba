#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks that the installed pkg-config files build and
# link a program that uses both libraries.
#
#   bash examples/check-pkgconfig.sh BUILD_DIR SCRATCH_DIR
# Exits 77 (skipped) when pkg-config is not installed.
set -euo pipefail

build=$1
scratch=$2
command -v pkg-config >/dev/null || { echo "pkg-config is not installed"; exit 77; }
prefix=$scratch/prefix
rm -rf "$prefix"
mkdir -p "$scratch"
cmake --install "$build" --prefix "$prefix" >/dev/null

cat >"$scratch/versions.cpp" <<'CPP'
#include <cstdio>
#include <cstring>

#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"

int main() {
    const char* trader = CNarvSqelTraderApi::GetApiVersion();
    const char* md = CNarvSqelMdApi::GetApiVersion();
    std::printf("%s %s\n", trader, md);
    return std::strcmp(trader, md) == 0 ? 0 : 1;
}
CPP

export PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name narvtraderapi.pc -print -quit)")
version=$(pkg-config --modversion narvtraderapi)
read -r -a flags <<<"$(pkg-config --cflags --libs narvtraderapi narvmduserapi)"
libdir=$(pkg-config --variable=libdir narvtraderapi)
g++ -std=c++17 -Wall -Wextra -Werror "$scratch/versions.cpp" -o "$scratch/versions" "${flags[@]}" \
    -Wl,-rpath,"$libdir"
printed=$("$scratch/versions")
echo "pkg-config version $version, libraries report: $printed"
[ "$printed" = "$version $version" ]
