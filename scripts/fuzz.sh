#!/usr/bin/env bash
# Builds a libFuzzer target with clang and runs it for a given number of seconds.
#   scripts/fuzz.sh <target> [seconds]      e.g. scripts/fuzz.sh ini_reader_fuzz 60
# The corpus grows in fuzz-corpus/<target>/, seeded from fuzz/seeds/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh <target> [seconds]}
seconds=${2:-60}

for package in clang libclang-rt-14-dev cmake ninja-build; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="${missing:-} $package"
done
if [ -n "${missing:-}" ]; then
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  ${sudo:-} apt-get update -qq && DEBIAN_FRONTEND=noninteractive ${sudo:-} apt-get install -y -qq $missing
fi

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKIV_FUZZ=ON -DKIV_TESTS=OFF -DKIV_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" >/dev/null
cmake --build "$build" --target "$target"

corpus=fuzz-corpus/$target
mkdir -p "$corpus"
seeds=fuzz/seeds/$target
[ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
"$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "$corpus"
