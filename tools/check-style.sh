#!/usr/bin/env bash
# Checks the C++ sources against the house style (.clang-format) and a small set of bug-finding checks
# (.clang-tidy). Exits non-zero on the first kind of finding, listing what to fix. Needs clang-format-14
# and clang-tidy-14 (tools/install-deps.sh installs them). The fuzz targets are checked with the rest;
# the seed corpus is not source.
#
#   bash tools/check-style.sh          # both checks
#   NARV_STYLE_ONLY=format bash tools/check-style.sh
#   NARV_STYLE_ONLY=tidy bash tools/check-style.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# The shipped headers keep the layout they are published in (applications diff them between releases).
shipped=(':!traderapi/NarvSqelApiCommon.h' ':!traderapi/NarvSqelTraderApi.h' ':!mdapi/NarvSqelMdApi.h')
mapfile -t sources < <(git ls-files '*.cpp' '*.h' "${shipped[@]}")
status=0

if [ "${NARV_STYLE_ONLY:-format}" = format ]; then
  echo "== format (clang-format-14, ${#sources[@]} files)"
  if ! clang-format-14 --style=file --dry-run -Werror "${sources[@]}"; then
    echo "format: run clang-format-14 -i on the files above" >&2
    status=1
  fi
fi

if [ "${NARV_STYLE_ONLY:-tidy}" = tidy ]; then
  # A configure-only tree for the compile commands; nothing is built. The fuzz targets need clang, so
  # their sources are checked with the commands of a clang configuration.
  dir=build-tidy
  CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    -DNARV_BUILD_FUZZERS=ON >/dev/null
  # The sources the configuration compiles: the Windows-only application and the Python module (built from
  # generated tables, and not with the fuzzers) have no compile command here and are left out.
  mapfile -t units < <(git ls-files '*.cpp' | /usr/bin/python3 -c '
import json, os, sys
compiled = {os.path.realpath(entry["file"]) for entry in json.load(open(sys.argv[1]))}
for line in sys.stdin:
    if os.path.realpath(line.strip()) in compiled: print(line.strip())' "$dir/compile_commands.json")
  echo "== bug-finding checks (clang-tidy-14, ${#units[@]} files)"
  if ! printf '%s\n' "${units[@]}" | xargs -P "$(nproc)" -n 8 clang-tidy-14 -p "$dir" --quiet 2>/dev/null; then
    echo "tidy: fix the findings above" >&2
    status=1
  fi
fi
exit $status
