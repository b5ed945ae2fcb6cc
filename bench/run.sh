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

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSCRIPTRUN_BENCH=ON > /dev/null
cmake --build "$build" -j "$(nproc)" --target scriptrun dbf_bench > /dev/null
/usr/bin/python3 bench/lib/run_bench.py "$build" "$runs"
