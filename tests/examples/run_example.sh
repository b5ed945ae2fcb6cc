#!/usr/bin/env bash
# Runs one example the way the user guide shows it, from a folder beside
# examples/ (as demo-output/ is in the repository):
#   run_example.sh BINARY EXAMPLES_DIR FILE TEST_DIR
# FILE is a script (run in batch mode as ../examples/FILE) or a .commands file
# (fed to the interactive shell). Standard output must equal
# TEST_DIR/expected/FILE.out byte for byte, the exit status must be 0, and
# TEST_DIR/check/FILE, when it exists, runs in the run's folder afterwards
# (exit 77 there skips the test).
set -u
binary=$(realpath "$1")
examples=$(realpath "$2")
file=$3
test_dir=$(realpath "$4")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/scriptrun-example.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# The error log goes next to the program file: keep it inside the scratch folder.
ln "$binary" "$scratch/scriptrun" 2>/dev/null || cp "$binary" "$scratch/scriptrun"
cp -r "$examples" "$scratch/examples"
mkdir "$scratch/run"
cd "$scratch/run" || exit 1

case $file in
  *.commands) SCRIPTRUN_TRACE=off ../scriptrun < "../examples/$file" > actual.out 2> actual.err ;;
  *) SCRIPTRUN_TRACE=off ../scriptrun "../examples/$file" < /dev/null > actual.out 2> actual.err ;;
esac
status=$?

failed=0
if ! cmp -s actual.out "$test_dir/expected/$file.out"; then
  echo "standard output differs (expected, then actual):"
  diff "$test_dir/expected/$file.out" actual.out | head -40
  failed=1
fi
if [ $status != 0 ]; then
  echo "exit status $status"
  cat actual.err ../ErrorScript.log 2>/dev/null
  failed=1
fi
if [ $failed = 0 ] && [ -x "$test_dir/check/$file" ]; then
  "$test_dir/check/$file" "$scratch/run"
  rc=$?
  [ $rc = 77 ] && exit 77
  [ $rc != 0 ] && { echo "check failed ($rc)"; failed=1; }
fi
exit $failed
