#!/usr/bin/env bash
# Configures (once) and builds incrementally: scripts/build.sh DIR BUILD_TYPE [CMAKE_OPTIONS...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1 type=$2
shift 2
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [[ ! -f "$dir/CMakeCache.txt" ]]; then
  cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE="$type" "$@"
fi
cmake --build "$dir" --parallel 2
