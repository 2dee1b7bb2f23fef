#!/usr/bin/env bash
# Fails when a header of the code the Windows build compiles has the name of
# a header on the cross-compiler's system include path (compared without
# case, as Windows' file system does): such a header could one day be found
# in place of the SDK's.  Usage: tools/check-header-names.sh CXX
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
cxx=${1:?usage: $0 CXX}

mapfile -t dirs < <("$cxx" -xc++ -E -v /dev/null 2>&1 |
    sed -n '/#include <...> search starts here:/,/End of search list./p' | sed -n 's/^ //p')
[ ${#dirs[@]} -gt 0 ] || { echo "no system include directories found for $cxx" >&2; exit 1; }

clashes=0
while IFS= read -r header; do
    name=$(basename "$header")
    for dir in "${dirs[@]}"; do
        found=$(find "$dir" -maxdepth 1 -iname "$name" -print -quit 2>/dev/null)
        if [ -n "$found" ]; then
            echo "$header has the name of the system header $found"
            clashes=$((clashes + 1))
        fi
    done
done < <(cd "$src" && find platform capture app res -name '*.h' -not -path 'platform/linux/*' | sort)
# The vendor class library's header is no system header here, but must not
# be stood in for either.
if [ -e "$src/platform/afxwin.h" ]; then
    echo "platform/afxwin.h has the name of the class library's header"
    clashes=$((clashes + 1))
fi
echo "$clashes clashing header names"
[ "$clashes" -eq 0 ]
