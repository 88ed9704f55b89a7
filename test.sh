#!/usr/bin/env bash
# Builds Flowlattice and runs every test: ./test.sh, or ./test.sh --sanitize for the
# AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/.
set -euo pipefail
cd "$(dirname "$0")"
if [[ "${1:-}" == "--sanitize" ]]; then
  ./scripts/install-deps.sh --sanitize
  ./scripts/build.sh build-sanitize Debug -DFLOW_SANITIZE=ON
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  cd build-sanitize
else
  ./scripts/install-deps.sh
  ./scripts/build.sh build RelWithDebInfo
  cd build
fi
ctest --output-on-failure -j2 --timeout 600
