#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks what the installation promises:
#   - find_package(narv) gives the imported targets, honours versions and components, and still works
#     after the installation was moved elsewhere;
#   - the pkg-config files build and link a program that uses both libraries;
#   - the tools component puts the front simulator, the wire dump and the wire recorder in bin/ (each
#     runs from there), and the dissector and the simulator's sample configuration in share/narv/; the
#     libraries component alone installs none of them.
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

# check CONDITION... MESSAGE: counts a failure when the test command fails.
check() {
    local message=${*: -1}
    if "${@:1:$#-1}"; then
        echo "ok: $message"
    else
        echo "FAILED: $message"
        failures=$((failures + 1))
    fi
}

for tool in narv_front_simulator narv_wiredump narv_wirerecord; do
    check bash -c "'$prefix/bin/$tool' --help | grep -q '^usage: $tool'" "bin/$tool is installed and runs"
done
for file in narv.lua front-simulator.conf; do
    check test -s "$prefix/share/narv/$file" "share/narv/$file is installed"
done

# The installed simulator serves with its installed configuration: its first line names both ports.
coproc SIMULATOR { exec "$prefix/bin/narv_front_simulator" --config "$prefix/share/narv/front-simulator.conf" \
                        2>"$scratch/simulator.err"; }
simulator_pid=$SIMULATOR_PID
ports=""
read -r -t 20 ports <&"${SIMULATOR[0]}" || true
check grep -Eq '^trade=127\.0\.0\.1:[0-9]+ quote=127\.0\.0\.1:[0-9]+$' <<<"$ports" \
    "the installed simulator starts with share/narv/front-simulator.conf ($ports)"
kill -TERM "$simulator_pid" 2>/dev/null
wait "$simulator_pid"
check test $? -eq 0 "the installed simulator stops cleanly on SIGTERM"

libraries_only=$scratch/libraries-only
rm -rf "$libraries_only"
cmake --install "$build" --prefix "$libraries_only" --component libraries >/dev/null
check test -e "$libraries_only/include/narv/NarvSqelTraderApi.h" "--component libraries installs the headers"
check test ! -e "$libraries_only/bin" -a ! -e "$libraries_only/share" "--component libraries leaves the tools out"

exit $((failures > 0))
