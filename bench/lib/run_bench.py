#!/usr/bin/env python3
"""Runs every benchmark of bench/ a number of times and writes the table of
medians and ratios to standard output and to bench/RESULTS.md.

Usage: run_bench.py <build-dir> [runs]   (called by bench/run.sh)

Each measurement is one whole process: its CPU time (user + system, from
wait4(), start-up included) and its peak resident set size. CPU time rather
than wall time, because the machine may be shared: other processes then
stretch wall times at random but not the CPU a run consumes. Processes run
one after the other, never in parallel.
"""
import datetime
import glob
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

BENCH = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCRIPTS = os.path.join(BENCH, "scripts")
PYTHON = "/usr/bin/python3"  # the Debian CPython, which also has dbfread
LUA = "lua5.4"

# Sizes: large enough that start-up is a small share of every run.
LANGUAGE_SIZES = {"loop": 300_000, "strings": 50_000, "arrays": 100_000, "calls": 100_000}
TRACE_LOOP_N = 1500  # about 45 MB of trace; it must stay below 255 rotations
MEMORY_N = 1_000_000
TABLE_RECORDS = 100_000
TABLE_CACHE_BLOCK = 4096  # records per read of the engine's record cache


def measure(command, cwd, env=None, stdout=subprocess.DEVNULL):
    """Runs a command once; returns (CPU seconds, max RSS in KiB)."""
    process = subprocess.Popen(command, cwd=cwd, env=env, stdout=stdout, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = usage.ru_utime + usage.ru_stime
    process.returncode = os.waitstatus_to_exitcode(status)
    errors = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if process.returncode != 0:
        raise RuntimeError(f"{' '.join(command)} failed ({process.returncode}): {errors.strip()}")
    return seconds, usage.ru_maxrss


def median_of(runs, command, cwd, env=None, before=None):
    times, peaks = [], []
    for _ in range(runs):
        if before:
            before()
        seconds, peak = measure(command, cwd, env)
        times.append(seconds)
        peaks.append(peak)
    return statistics.median(times), statistics.median(peaks)


class Results:
    def __init__(self):
        self.sections = []

    def section(self, title, header):
        self.sections.append((title, header, []))

    def row(self, *cells):
        self.sections[-1][2].append(cells)

    def markdown(self, preamble):
        lines = [preamble, ""]
        for title, header, rows in self.sections:
            lines += [f"## {title}", "", "| " + " | ".join(header) + " |",
                      "|" + "---|" * len(header)]
            lines += ["| " + " | ".join(str(c) for c in row) + " |" for row in rows]
            lines.append("")
        return "\n".join(lines)


def verdict(ok):
    return "met" if ok else "**missed**"


def medians_interleaved(runs, commands, cwd):
    """Runs the (command, env) pairs in turn, `runs` rounds; returns the
    median CPU time of each. Taking turns keeps a slow spell of a shared
    machine from falling on one side of a ratio only."""
    times = [[] for _ in commands]
    for _ in range(runs):
        for i, (command, env) in enumerate(commands):
            times[i].append(measure(command, cwd, env)[0])
    return [statistics.median(t) for t in times]


def language(results, binary, work, runs):
    off = dict(os.environ, SCRIPTRUN_TRACE="off")
    results.section("Language benchmarks, trace off (median CPU seconds)",
                    ["benchmark", "N", "ours", "CPython", "Lua 5.4", "ours/CPython (target <= 5)",
                     "ours/Lua (target <= 20)", "target"])
    for name, n in LANGUAGE_SIZES.items():
        ours, py, lua = medians_interleaved(runs, [
            ([binary, os.path.join(SCRIPTS, name + ".scr"), str(n)], off),
            ([PYTHON, os.path.join(SCRIPTS, name + ".py"), str(n)], None),
            ([LUA, os.path.join(SCRIPTS, name + ".lua"), str(n)], None)], work)
        results.row(name, n, f"{ours:.3f}", f"{py:.3f}", f"{lua:.3f}", f"{ours / py:.1f}",
                    f"{ours / lua:.1f}", verdict(ours / py <= 5 and ours / lua <= 20))
        print(f"  {name}: ours {ours:.3f}s python {py:.3f}s lua {lua:.3f}s", flush=True)


def trace_bytes(work):
    return sum(os.path.getsize(p) for p in glob.glob(os.path.join(work, "resultTestRunVar*.log")))


def remove_traces(work):
    for path in glob.glob(os.path.join(work, "resultTestRunVar*.log")):
        os.remove(path)


def trace_on(results, binary, work, runs):
    on = dict(os.environ)
    on.pop("SCRIPTRUN_TRACE", None)
    script = os.path.join(SCRIPTS, "loop.scr")
    ours, _ = median_of(runs, [binary, script, str(TRACE_LOOP_N)], work, on, lambda: remove_traces(work))
    written = trace_bytes(work)
    rotations = len(glob.glob(os.path.join(work, "resultTestRunVar[0-9]*.log")))
    if rotations >= 255:
        raise RuntimeError("the trace rotated through all its names; lower TRACE_LOOP_N")
    remove_traces(work)
    target = os.path.join(work, "dd.out")
    dd = ["dd", "if=/dev/zero", f"of={target}", "bs=64K", "iflag=count_bytes", f"count={written}",
          "status=none"]
    dd_time, _ = median_of(runs, dd, work, before=lambda: os.path.exists(target) and os.remove(target))
    os.remove(target)
    results.section("Loop benchmark, trace on",
                    ["N", "trace bytes", "ours (s)", "trace MB/s", "dd same bytes (s)", "dd MB/s",
                     "ours/dd (target <= 3)", "target"])
    results.row(TRACE_LOOP_N, written, f"{ours:.3f}", f"{written / ours / 1e6:.1f}", f"{dd_time:.3f}",
                f"{written / dd_time / 1e6:.1f}", f"{ours / dd_time:.1f}", verdict(ours / dd_time <= 3))
    print(f"  trace on: ours {ours:.3f}s for {written} bytes, dd {dd_time:.3f}s", flush=True)


def tables(results, dbf_bench, work, runs):
    base = os.path.join(work, "bench")
    subprocess.run([dbf_bench, "create", base, str(TABLE_RECORDS)], check=True)
    uncached, _ = median_of(runs, [dbf_bench, "read", base], work)
    ours, _ = median_of(runs, [dbf_bench, "read", base, str(TABLE_CACHE_BLOCK)], work)
    dump, _ = median_of(runs, ["dbfdump", base + ".dbf"], work)
    reader = "import sys\nfrom dbfread import DBF\nfor record in DBF(sys.argv[1]):\n    for value in record.values(): pass\n"
    dbfread, _ = median_of(runs, [PYTHON, "-c", reader, base + ".dbf"], work)
    size = os.path.getsize(base + ".dbf") + os.path.getsize(base + ".dbt")
    results.section("Table full read, 100,000 records (C, N, D, L and memo fields; median CPU seconds)",
                    ["file bytes (.dbf + .dbt)", "ours, record cache off", "ours, record cache on",
                     "dbfdump", "dbfread",
                     "dbfdump/ours cached (target >= 1)", "dbfread/ours cached (target >= 5)", "target"])
    results.row(size, f"{uncached:.3f}", f"{ours:.3f}", f"{dump:.3f}", f"{dbfread:.3f}", f"{dump / ours:.1f}",
                f"{dbfread / ours:.1f}", verdict(dump / ours >= 1 and dbfread / ours >= 5))
    print(f"  tables: ours {uncached:.3f}s, cached {ours:.3f}s dbfdump {dump:.3f}s dbfread {dbfread:.3f}s", flush=True)


def memory(results, binary, work, runs):
    off = dict(os.environ, SCRIPTRUN_TRACE="off")
    ours_time, ours = median_of(runs, [binary, os.path.join(SCRIPTS, "arrays.scr"), str(MEMORY_N)], work, off)
    _, py = median_of(runs, [PYTHON, os.path.join(SCRIPTS, "arrays.py"), str(MEMORY_N)], work)
    results.section("Peak memory, arrays benchmark at N = 1,000,000 (median max RSS)",
                    ["ours (MiB)", "CPython dict with string keys (MiB)", "ours/CPython (target <= 2)",
                     "ours run time (s)", "target"])
    results.row(f"{ours / 1024:.1f}", f"{py / 1024:.1f}", f"{ours / py:.2f}", f"{ours_time:.3f}",
                verdict(ours / py <= 2))
    print(f"  memory: ours {ours / 1024:.1f} MiB python {py / 1024:.1f} MiB", flush=True)


def main():
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    binary = os.path.join(build, "src", "shell", "scriptrun")
    dbf_bench = os.path.join(build, "bench", "dbf_bench")
    # Scratch files live inside the build folder: same disk as the trace.
    work = tempfile.mkdtemp(prefix="bench-work.", dir=build)
    results = Results()
    try:
        print("language benchmarks", flush=True)
        language(results, binary, work, runs)
        print("trace on", flush=True)
        trace_on(results, binary, work, runs)
        print("tables", flush=True)
        tables(results, dbf_bench, work, runs)
        print("memory", flush=True)
        memory(results, binary, work, runs)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    versions = subprocess.run([LUA, "-v"], capture_output=True, text=True).stdout.strip()
    pyver = subprocess.run([PYTHON, "--version"], capture_output=True, text=True).stdout.strip()
    preamble = (f"# Benchmark results\n\nDate: {datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC; "
                f"cores (nproc): {os.cpu_count()}; {runs} runs each; times are medians of whole-process CPU time "
                f"(user + system, start-up included), memory the median peak RSS; "
                f"peers: {pyver}, {versions}, dbfdump (shapelib), dbfread.\n\n"
                "Written by bench/run.sh; the notes on missed targets are in bench/README.md.")
    text = results.markdown(preamble)
    with open(os.path.join(BENCH, "RESULTS.md"), "w") as out:
        out.write(text)
    print()
    print(text)


if __name__ == "__main__":
    main()
