#!/usr/bin/env bash
# Checks one DLL of a Windows build without running it:
#   check-dll.sh win32|win64 DLL MSVC_IMPORT_LIB MINGW_IMPORT_LIB EXPORTED_NAME...
# - the DLL is for the architecture and exports exactly the given names (both compilers' names of
#   the exported functions, nothing else);
# - it imports only Windows' own DLLs (no C++ runtime, libgcc or threads DLL to ship beside it);
# - each import library offers its compiler's names of the exported functions, as that compiler's
#   linker looks them up on the architecture.
set -euo pipefail
llvm=/usr/lib/llvm-14/bin
[ -x "$llvm/llvm-readobj" ] || llvm=$(dirname "$(command -v llvm-readobj)")
arch=$1 dll=$2 msvc_lib=$3 mingw_lib=$4
shift 4
failures=0
fail() { echo "check-dll: $(basename "$dll"): $*" >&2; failures=$((failures + 1)); }

case $arch in
  win32) machine=IMAGE_FILE_MACHINE_I386 ;;
  win64) machine=IMAGE_FILE_MACHINE_AMD64 ;;
  *) echo "check-dll: unknown architecture $arch" >&2; exit 2 ;;
esac
"$llvm/llvm-readobj" --file-headers "$dll" | grep -q "Machine: $machine" || fail "not a $machine image"

exported=$("$llvm/llvm-readobj" --coff-exports "$dll" | sed -n 's/^ *Name: //p' | sort)
expected=$(printf '%s\n' "$@" | sort)
[ "$exported" = "$expected" ] || fail "exports differ from the table:
$(diff <(echo "$expected") <(echo "$exported") || true)"

# Windows' own DLLs that the libraries may use (case as the linker writes them).
system_dlls='^(KERNEL32|ADVAPI32|USER32|WS2_32|MSWSOCK|msvcrt|api-ms-win-[a-z0-9-]+)\.dll$'
while read -r imported; do
  [[ $imported =~ $system_dlls ]] || fail "imports $imported, which is not part of Windows"
done < <("$llvm/llvm-readobj" --coff-imports "$dll" | sed -n 's/^ *Name: //p')

# Microsoft's decorated C++ names begin with '?': the Microsoft import library must offer those, the
# MinGW one g++'s names. On 32-bit g++ prefixes its names with an underscore; Microsoft's stay as they are.
msvc_offers=$("$llvm/llvm-nm" "$msvc_lib" 2>/dev/null | awk '{print $NF}')
mingw_offers=$("$llvm/llvm-nm" "$mingw_lib" 2>/dev/null | awk '{print $NF}')
for name in "$@"; do
  if [[ $name = \?* ]]; then
    lib=$msvc_lib offered=$msvc_offers wanted=__imp_$name
  else
    lib=$mingw_lib offered=$mingw_offers wanted=__imp_$name
    [ "$arch" = win32 ] && wanted=__imp__$name
  fi
  grep -qxF -- "$wanted" <<<"$offered" || fail "$(basename "$lib") does not offer $wanted"
done
((failures == 0)) && echo "check-dll: $(basename "$dll") ($arch): exports, imports and import libraries as they should be"
exit $((failures > 0))
