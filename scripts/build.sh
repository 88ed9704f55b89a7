#!/usr/bin/env bash
# Configures (once) and builds incrementally: scripts/build.sh DIR BUILD_TYPE [CMAKE_OPTIONS...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1 type=$2
shift 2
# The machine has two cores: builds from several checkouts wait for each other.
exec 9>/tmp/flowlattice-build.lock
flock 9
options=()
command -v ninja >/dev/null && options+=(-G Ninja)
command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [[ ! -f "$dir/CMakeCache.txt" ]]; then
  cmake -S . -B "$dir" "${options[@]}" -DCMAKE_BUILD_TYPE="$type" "$@"
fi
cmake --build "$dir" --parallel 2
