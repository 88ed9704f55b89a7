#!/usr/bin/env bash
# Fuzzes circuit-file loading: scripts/fuzz.sh [SECONDS] (default 60). Builds the fuzz target
# with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/, then
# runs it on a corpus seeded with the examples and the sub-circuit files of fuzz/seeds (kept in
# build-fuzz/corpus between runs). Every input is loaded, saved, reloaded and saved again; a
# crash, a leak, undefined behaviour or two saves that differ stop it, and the input that did
# it is left in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

./scripts/install-deps.sh
fuzz_packages=(clang libclang-rt-14-dev)
missing=()
for p in "${fuzz_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

CC=clang CXX=clang++ ./scripts/build.sh build-fuzz Debug -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DFLOW_SANITIZE=ON -DFLOW_FUZZ=ON -DFLOW_TESTS=OFF

mkdir -p build-fuzz/corpus
cp -n examples/*.xml fuzz/seeds/*.xml build-fuzz/corpus/
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
cd build-fuzz
exec ./fuzz/load_fuzzer -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=3072 \
  -dict=../fuzz/circuit.dict -print_final_stats=1 corpus
