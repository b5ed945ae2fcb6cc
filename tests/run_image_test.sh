#!/usr/bin/env bash
# Runs one script test case twice through the real binary: once from its
# text (batch mode), once compiled to a binary image and loaded from it
# (interactive "compile" then "load"), and compares what the script printed.
# Cases that depend on batch mode (args, stdin, interactive) are skipped (77).
set -u
binary=$1
case_dir=$2
[ -f "$case_dir/script.scr" ] || exit 77
for f in interactive args stdin; do [ -e "$case_dir/$f" ] && exit 77; done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/scriptrun-image.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
if [ -x "$case_dir/require" ]; then  # see run_script_test.sh
  "$case_dir/require" "$scratch"
  rc=$?
  [ $rc = 77 ] && exit 77
  [ $rc != 0 ] && { echo "require failed ($rc)"; exit 1; }
fi
ln "$binary" "$scratch/scriptrun" 2>/dev/null || cp "$binary" "$scratch/scriptrun"
envs=()
if [ -f "$case_dir/env" ]; then
  while IFS= read -r line || [ -n "$line" ]; do [ -n "$line" ] && envs+=("$line"); done < "$case_dir/env"
fi

run() {  # run <folder> <stdin> <args...>
  local folder=$1 input=$2
  shift 2
  mkdir -p "$scratch/$folder"
  [ -d "$case_dir/files" ] && cp -r "$case_dir/files/." "$scratch/$folder/"
  cp "$case_dir/script.scr" "$scratch/$folder/script.scr"
  (cd "$scratch/$folder" && env SCRIPTRUN_TRACE="${SCRIPTRUN_TRACE:-off}" "${envs[@]}" \
     ../scriptrun "$@" < "$input" > out 2> err)
}

run text /dev/null script.scr
printf 'compile script.scr script.bin\nload script.bin\nexit\n' > "$scratch/commands"
run image "$scratch/commands"

# From the interactive transcript: the compile command's own messages (the
# compiler's warnings), then what the loaded image printed up to its "end".
python3 - "$scratch/text/out" "$scratch/image/out" <<'PY'
# (exit 77 from here marks the case skipped)
import sys
text = open(sys.argv[1], 'rb').read()
image = open(sys.argv[2], 'rb').read()
compiling = b'>> compiling is "script.scr"\n'
saving = b'>> Save result to file "script.bin"\n'
loading = b'>> Load is "script.bin"\n'
end = b'>> end\n\n'
# Both runs begin with the start-up greeting; the transcript's prompt follows it.
greeting = image[:image.find(b'>> :> ')]
if not text.startswith(greeting):
    sys.stdout.write("text run lacks the start-up output %r\n" % greeting)
    sys.exit(1)
text = text[len(greeting):]
if saving not in image:
    sys.exit(77)  # the text does not compile: there is no image to compare
saved = image.index(saving) + len(saving)
if image[saved:].startswith(b'>> end\n\n>> ERROR: '):
    sys.exit(77)  # the function cannot be saved (an operand text over 255 bytes)
try:
    start = image.index(compiling) + len(compiling)
    warnings = image[start:image.index(saving, start)]
    body_start = image.index(loading) + len(loading)
    body = image[body_start:image.index(end, body_start)]
except ValueError:
    sys.stdout.write("unexpected interactive transcript:\n%r\n" % image[:2000])
    sys.exit(1)
from_image = warnings + body + b'\n'
if from_image != text:
    sys.stdout.write("image run differs from text run\ntext:  %r\nimage: %r\n" % (text[:2000], from_image[:2000]))
    sys.exit(1)
PY
