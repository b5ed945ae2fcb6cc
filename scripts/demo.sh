#!/usr/bin/env bash
# Sets up what is missing, builds the program and runs the report example in
# demo-output/, then says where its files are. Usage: scripts/demo.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/setup.sh --run
cmake -S . -B build > /dev/null
cmake --build build -j "$(nproc)" --target scriptrun
mkdir -p demo-output
cd demo-output
# A second run starts again from nothing, so it shows the same as the first.
rm -f departments.txt staff.dbf staff.dbt staff.db report.xlsx
if ! SCRIPTRUN_TRACE=off ../build/src/shell/scriptrun ../examples/report.scr; then
  echo "demo: the report failed; the error is in $root/build/src/shell/ErrorScript.log" >&2
  exit 1
fi
echo "demo: the report's files are in $root/demo-output:"
ls -l departments.txt staff.dbf staff.dbt staff.db report.xlsx
