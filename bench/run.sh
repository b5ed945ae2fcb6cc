#!/usr/bin/env bash
# The one benchmark command: builds in release mode, runs every benchmark
# (5 runs each unless a count is given) and writes bench/RESULTS.md.
# Usage: bench/run.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
build=${BENCH_BUILD_DIR:-build-bench}

# Peers and tools needed only here (Debian packages), installed on demand.
need=()
command -v lua5.4 > /dev/null || need+=(lua5.4)
command -v dbfdump > /dev/null || need+=(shapelib)
/usr/bin/python3 -c "import dbfread" 2> /dev/null || need+=(python3-dbfread)
if [ ${#need[@]} -gt 0 ]; then
  echo "installing ${need[*]}"
  apt-get install -y "${need[@]}" > /dev/null
fi

mkdir -p "$build"
log="$build/bench-build.log"
echo "building release binaries in $build (log: $log)"
if ! { cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSCRIPTRUN_BENCH=ON &&
       cmake --build "$build" -j "$(nproc)" --target scriptrun dbf_bench; } > "$log" 2>&1; then
  tail -30 "$log"
  echo "build failed" >&2
  exit 1
fi
/usr/bin/python3 bench/lib/run_bench.py "$build" "$runs"
