#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks what the installation promises:
#   - find_package(narv) gives the imported targets, honours versions and components, and still works
#     after the installation was moved elsewhere;
#   - the pkg-config files build and link a program that uses both libraries.
#
#   bash examples/check-installed-package.sh BUILD_DIR SCRATCH_DIR
set -uo pipefail

build=$1
scratch=$2
prefix=$scratch/prefix
moved=$scratch/moved
failures=0

rm -rf "$prefix" "$moved"
mkdir -p "$scratch"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "cmake --install failed"; exit 1; }

# find_case EXPECT PREFIX FIND_PACKAGE_ARGUMENTS [REASON]: configures a project that calls
# find_package(narv ...) and prints where the imported libraries are; EXPECT is "found" or "refused",
# and a refusal must name REASON.
find_case() {
    local expect=$1 where=$2 arguments=$3 reason=${4:-}
    local project=$scratch/find-project
    rm -rf "$project"
    mkdir -p "$project"
    cat >"$project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.16)
project(find_narv LANGUAGES NONE)
find_package(narv $arguments)
foreach(library narvtraderapi narvmduserapi)
  if(TARGET narv::\${library})
    get_target_property(location narv::\${library} IMPORTED_LOCATION)
    get_target_property(includes narv::\${library} INTERFACE_INCLUDE_DIRECTORIES)
    message(STATUS "narv::\${library} at \${location}, headers in \${includes}")
    if(NOT EXISTS "\${location}" OR NOT IS_DIRECTORY "\${includes}")
      message(FATAL_ERROR "narv::\${library} points at nothing")
    endif()
  endif()
endforeach()
CMAKE
    local output status
    output=$(cmake -S "$project" -B "$project/build" -DCMAKE_PREFIX_PATH="$where" 2>&1)
    status=$?
    local got=found
    [ "$status" -eq 0 ] || got=refused
    if [ "$got" != "$expect" ] || [[ $output != *"$reason"* ]]; then
        echo "FAILED: find_package(narv $arguments) in $where: $got, expected $expect"
        echo "$output" | tail -n 15
        failures=$((failures + 1))
    else
        echo "ok: find_package(narv $arguments) in $where: $got"
        echo "$output" | grep -F 'narv::' | sed 's/^/    /'
    fi
}

find_case found "$prefix" "6 REQUIRED"
find_case found "$prefix" "6.5 REQUIRED COMPONENTS narvmduserapi"
find_case refused "$prefix" "7 REQUIRED" "version: 6.5.1"
find_case refused "$prefix" "REQUIRED COMPONENTS narvoptionsapi" "narvoptionsapi"
# The package locates everything relative to itself.
mv "$prefix" "$moved"
find_case found "$moved" "6 REQUIRED"
mv "$moved" "$prefix"

if command -v pkg-config >/dev/null; then
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
    export PKG_CONFIG_PATH
    PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name narvtraderapi.pc -print -quit)")
    version=$(pkg-config --modversion narvtraderapi)
    read -r -a flags <<<"$(pkg-config --cflags --libs narvtraderapi narvmduserapi)"
    libdir=$(pkg-config --variable=libdir narvtraderapi)
    if g++ -std=c++17 -Wall -Wextra -Werror "$scratch/versions.cpp" -o "$scratch/versions" "${flags[@]}" \
           -Wl,-rpath,"$libdir" && printed=$("$scratch/versions") && [ "$printed" = "$version $version" ]; then
        echo "ok: pkg-config version $version builds a program that reports $printed"
    else
        echo "FAILED: a program built with the pkg-config flags (${flags[*]})"
        failures=$((failures + 1))
    fi
else
    echo "pkg-config is not installed: its files are not checked"
fi

exit $((failures > 0))
