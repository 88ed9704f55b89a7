#!/usr/bin/env bash
# Builds Flowlattice (installing what is missing) and opens the editor: ./run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh build RelWithDebInfo
exec ./build/flowlattice "$@"
