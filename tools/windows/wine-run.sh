#!/usr/bin/env bash
# Runs a 64-bit Windows program of a cross-build under Wine: wine-run.sh program.exe [arguments...]
# The Wine prefix is private to the build directory (found above the program) unless WINEPREFIX is
# set, so that nothing outside the build is touched.
#
#   wine-run.sh --boot BUILD_DIR   prepares the prefix and keeps its Wine server running, so that each
#                                  program starts in a fraction of a second (and two first uses of one
#                                  prefix do not race to create it);
#   wine-run.sh --stop BUILD_DIR   stops that server.
set -euo pipefail

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine

find_build_dir() {  # the nearest directory above $1 that holds a CMakeCache.txt
  local dir
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ] && [ ! -e "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ "$dir" != / ] || { echo "wine-run.sh: no build directory above $1" >&2; exit 2; }
  echo "$dir"
}

if [ "${1:-}" = --boot ] || [ "${1:-}" = --stop ]; then
  export WINEPREFIX=${WINEPREFIX:-$(cd "${2:?wine-run.sh $1 build-dir}" && pwd)/wineprefix}
else
  export WINEPREFIX=${WINEPREFIX:-$(find_build_dir "${1:?wine-run.sh program.exe [arguments]}")/wineprefix}
fi
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: nothing here uses .NET or HTML.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

case ${1:-} in
  --boot)
    mkdir -p "$WINEPREFIX"
    # The persistent server first: started after wineboot it would meet wineboot's own server, still
    # running for a few seconds, and refuse to start.
    wineserver --kill 2>/dev/null || true
    wineserver --persistent
    exec "$wine" wineboot --init >/dev/null 2>&1 ;;
  --stop)
    exec wineserver --kill ;;
esac
exec "$wine" "$@"
