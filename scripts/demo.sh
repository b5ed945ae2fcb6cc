#!/usr/bin/env bash
# Sets up, builds and runs the demo script. Usage: scripts/demo.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --run
cmake -S . -B build > /dev/null
cmake --build build -j "$(nproc)" --target scriptrun
mkdir -p demo-output
cd demo-output
SCRIPTRUN_TRACE=off ../build/src/shell/scriptrun ../examples/hello.scr
echo "demo: output files are in $(pwd)"
