#!/usr/bin/env bash
# Runs one script test case through the real binary and compares results.
#
# A case folder holds:
#   script.scr     the script, run in batch mode as the first argument
#   interactive    optional marker: run without arguments (the command loop),
#                  reading the commands from stdin; script.scr is then optional
#   expected.out   the exact bytes expected on standard output
#   args           optional: further command-line arguments, one per line
#   stdin          optional: fed to standard input (else /dev/null)
#   status         optional: the expected exit status (default 0)
#   files/         optional: copied into the scratch folder before the run
#   expected/      optional: every file here must exist byte-identical after the run
#   check          optional: an executable run in the scratch folder afterwards;
#                  it must exit 0 (exit 77 marks the case skipped)
#   require        optional: an executable run before the program, with the
#                  scratch folder as argument; exit 77 skips the case (it
#                  says why on standard output), any other non-zero fails it
#   env            optional: VAR=value lines added to the environment
# The program runs in a fresh scratch folder from a hard link (or copy) of
# the binary, so that ErrorScript.log lands in the scratch folder too.
set -u
binary=$1
case_dir=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/scriptrun-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

ln "$binary" "$scratch/scriptrun" 2>/dev/null || cp "$binary" "$scratch/scriptrun"
[ -d "$case_dir/files" ] && cp -r "$case_dir/files/." "$scratch/"
[ -f "$case_dir/script.scr" ] && cp "$case_dir/script.scr" "$scratch/script.scr"

args=()
if [ -f "$case_dir/args" ]; then
  while IFS= read -r line || [ -n "$line" ]; do args+=("$line"); done < "$case_dir/args"
fi
input=/dev/null
[ -f "$case_dir/stdin" ] && input="$case_dir/stdin"
envs=()
if [ -f "$case_dir/env" ]; then
  while IFS= read -r line || [ -n "$line" ]; do [ -n "$line" ] && envs+=("$line"); done < "$case_dir/env"
fi

cd "$scratch" || exit 1
if [ -x "$case_dir/require" ]; then
  "$case_dir/require" "$scratch"
  rc=$?
  [ $rc = 77 ] && exit 77
  [ $rc != 0 ] && { echo "require failed ($rc)"; exit 1; }
fi
command=(./scriptrun script.scr "${args[@]}")
[ -f "$case_dir/interactive" ] && command=(./scriptrun)
env SCRIPTRUN_TRACE="${SCRIPTRUN_TRACE:-off}" "${envs[@]}" "${command[@]}" < "$input" > actual.out 2> actual.err
status=$?
expected_status=0
[ -f "$case_dir/status" ] && expected_status=$(tr -d '[:space:]' < "$case_dir/status")

failed=0
if ! cmp -s actual.out "$case_dir/expected.out"; then
  echo "standard output differs (expected, then actual):"
  diff <(od -c "$case_dir/expected.out") <(od -c actual.out) | head -40
  failed=1
fi
if [ "$status" != "$expected_status" ]; then
  echo "exit status $status, expected $expected_status"
  cat actual.err
  failed=1
fi
if [ -d "$case_dir/expected" ]; then
  while IFS= read -r -d '' f; do
    rel=${f#"$case_dir/expected/"}
    if ! cmp -s "$f" "$scratch/$rel"; then
      echo "file $rel differs or is missing"
      [ -f "$scratch/$rel" ] && diff <(od -c "$f") <(od -c "$scratch/$rel") | head -20
      failed=1
    fi
  done < <(find "$case_dir/expected" -type f -print0)
fi
if [ $failed = 0 ] && [ -x "$case_dir/check" ]; then
  "$case_dir/check" "$scratch"
  rc=$?
  [ $rc = 77 ] && exit 77
  [ $rc != 0 ] && { echo "check failed ($rc)"; failed=1; }
fi
exit $failed
