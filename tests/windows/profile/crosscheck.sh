#!/usr/bin/env bash
# One run of the profile writer's cross-check: the Linux writer's results,
# then the system's writer and readers under Wine on the same cases.
#   crosscheck.sh LINUX_TOOL PROFILECHECK_EXE PREFIX WORKDIR SEED COUNT
set -euo pipefail
if [ $# -ne 6 ]; then
    echo "usage: $0 LINUX_TOOL PROFILECHECK_EXE PREFIX WORKDIR SEED COUNT" >&2
    exit 2
fi
tool="$1" exe="$2" prefix="$3" dir="$4" seed="$5" count="$6"
run="$(cd "$(dirname "$0")/../../../tools/wine" && pwd)/run.sh"
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir"
"$tool" "$seed" "$count"
# All cases in one Wine process: each start costs about a second.
"$run" "$prefix" "$exe" cases.txt
