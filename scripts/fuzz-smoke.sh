#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UBSan) and runs
# each for a short while on its seed corpus and its regression inputs, so
# that a reader that starts crashing again shows up early.
# Usage: scripts/fuzz-smoke.sh [build-dir] [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
# Absolute paths throughout: the harness moves into its scratch directory.
root=$PWD
build=$(realpath -m "${1:-build-fuzz}")
seconds=${2:-60}
CC=${CC:-clang-14} CXX=${CXX:-clang++-14} cmake -S . -B "$build" -DSCRIPTRUN_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" > /dev/null
targets=(script image tree table text)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

work=$(mktemp -d "${TMPDIR:-/tmp}/scriptrun-fuzz-smoke.XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0
for target in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the committed seeds stay as they are.
  mkdir -p "$work/$target" "$work/artifacts-$target"
  echo "== fuzz_$target for ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/fuzz_$target" "$work/$target" "$root/fuzz/corpus/$target" "$root/tests/regress/$target" \
        -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/artifacts-$target/" 2> "$work/$target.log"; then
    status=1
    tail -n 60 "$work/$target.log"
    mkdir -p fuzz-findings
    cp "$work/artifacts-$target/"* fuzz-findings/ 2>/dev/null || true
    echo "fuzz_$target found a fault; its input is in fuzz-findings/"
  else
    grep -E '^stat::number_of_executed_units' "$work/$target.log" || true
  fi
done
exit $status
