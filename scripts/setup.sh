#!/usr/bin/env bash
# Installs the Debian packages that building and testing scriptrun need,
# only those that are missing. Safe to run again. Needs root for apt-get.
#
#   scripts/setup.sh          everything: build, run, and the test peers
#   scripts/setup.sh --run    only what building and running scripts need
#   scripts/setup.sh --fuzz   everything, and clang for the fuzz targets
set -euo pipefail

# Building and running: compiler, libraries, ODBC with the SQLite driver,
# and openpyxl to look at the workbooks scripts write.
run_packages=(
  build-essential cmake pkg-config libgtest-dev libgmock-dev
  libzip-dev libpugixml-dev libfreexl-dev zipcmp
  unixodbc unixodbc-dev libsqliteodbc
  python3 python3-openpyxl
)
# Independent readers and servers the tests compare against.
test_packages=(
  odbc-postgresql postgresql
  python3-dbfread python3-dbf python3-pyodbc shapelib
  libreoffice-calc-nogui libreoffice-base-drivers
)

# The libFuzzer targets (scripts/fuzz-smoke.sh).
fuzz_packages=(clang-14 libclang-rt-14-dev)

packages=("${run_packages[@]}")
[ "${1:-}" = "--run" ] || packages+=("${test_packages[@]}")
[ "${1:-}" = "--fuzz" ] && packages+=("${fuzz_packages[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" = 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
