#!/usr/bin/env bash
# Builds libFuzzer targets with clang and runs them for a given number of seconds.
#   scripts/fuzz.sh <target> [seconds]      e.g. scripts/fuzz.sh ini_reader_fuzz 60
#   scripts/fuzz.sh all [seconds]           every target in turn, then a table of the
#                                           executions and crashes of each
# The corpus grows in fuzz-corpus/<target>/, seeded from fuzz/seeds/<target>/; inputs
# that crash go to fuzz-crashes/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh <target>|all [seconds]}
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

if [ "$target" = all ]; then
  targets=$(for source in fuzz/*_fuzz.cpp; do basename "$source" .cpp; done)
else
  targets=$target
fi
# shellcheck disable=SC2086
cmake --build "$build" --target $targets

# Runs one target; sets runs and crashes. libFuzzer stops at the first crash (its input
# is kept); crashes counts the inputs kept in this run. One target alone shows its log.
run_target() {
  local name=$1 corpus=fuzz-corpus/$1 kept=fuzz-crashes/$1 log
  mkdir -p "$corpus" "$kept"
  [ -d "fuzz/seeds/$name" ] && cp -n "fuzz/seeds/$name"/* "$corpus"/ 2>/dev/null || true
  log=$(mktemp)
  local before
  before=$(find "$kept" -type f | wc -l)
  "$build/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$kept/" "$corpus" >"$log" 2>&1 || true
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  [ -n "$runs" ] || runs=$(sed -n 's/^#\([0-9]*\).*/\1/p' "$log" | tail -1)
  runs=${runs:-0}
  crashes=$(( $(find "$kept" -type f | wc -l) - before ))
  [ "$target" = all ] || cat "$log"
  rm -f "$log"
}

if [ "$target" != all ]; then
  run_target "$target"
  echo "$target: $runs executions, $crashes crashes in ${seconds} s"
  exit $(( crashes > 0 ))
fi

total_crashes=0
printf '| target | seconds | executions | crashes |\n|---|---:|---:|---:|\n'
for name in $targets; do
  run_target "$name"
  printf '| %s | %s | %s | %s |\n' "$name" "$seconds" "$runs" "$crashes"
  total_crashes=$(( total_crashes + crashes ))
done
exit $(( total_crashes > 0 ))
