#!/usr/bin/env python3
"""The tool's figures side by side with Zint's and the eps_series loop.

tool_figures.py BUILD [ROUNDS]: processor time (user + system) of whole
processes, medians of ROUNDS alternating rounds, files written into /dev/shm;
one make against one zint call in at least 100 pairs, each program first in
every other pair.
Zint's rows are left out when zint is not installed.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 7
VGLYPH = os.path.join(BUILD, "src/cli/vglyph")
LOOP = os.path.join(BUILD, "bench/eps_series")
ZINT = shutil.which("zint")
SERIES = ["series", "-v", "26", "-d", "400638130000", "--before", "4006381", "--start", "30000",
          "--stop", "32999", "--no-preview"]


def run(argv, output=None):
    """Processor and elapsed seconds of one process; its output is appended to output."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    text = proc.stdout.read().decode(errors="replace")
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    proc.stdout.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{argv[0]} failed: {text}")
    if output is not None:
        output.append(text)
    return usage.ru_utime + usage.ru_stime, elapsed


def loop_time(text):
    """The loop's own processor time of the series without preview."""
    for line in text.splitlines():
        if line.lower().startswith("without preview:"):
            return float(line.rsplit("processor time", 1)[1].split()[0])
    sys.exit("eps_series printed no figure")


def fresh(parent, name):
    path = os.path.join(parent, name)
    shutil.rmtree(path, ignore_errors=True)
    os.mkdir(path)
    return path


def ms(values):
    return f"{statistics.median(values) * 1000:.1f} ms"


def main():
    shm = tempfile.mkdtemp(dir="/dev/shm", prefix="vgl-figures-")
    try:
        numbers = os.path.join(shm, "numbers.txt")
        with open(numbers, "w") as f:
            f.writelines(f"4006381{n:05d}\n" for n in range(30000, 33000))
        tool, zint, loop, verify = [], [], [], []
        make, zmake = [], []
        for _ in range(ROUNDS):
            tool.append(run([VGLYPH, *SERIES, "-o", fresh(shm, "tool")])[0])
            if ZINT:
                out = fresh(shm, "zint")
                zint.append(run([ZINT, "-b", "EANX", "--batch", "-i", numbers, "--filetype=eps",
                                 "-o", os.path.join(out, "~~~~~.eps")])[0])
            if os.path.exists(LOOP):
                text = []
                run([LOOP, "3000", fresh(shm, "loop")], text)
                loop.append(loop_time(text[0]))
        # Pairs, each program first in every other one.
        for pair in range(max(100, ROUNDS)):
            one = fresh(shm, "one")
            calls = [(make, [VGLYPH, "make", "-v", "26", "-d", "400638133393", "-o", os.path.join(one, "f.eps")])]
            if ZINT:
                calls.append((zmake, [ZINT, "-b", "EANX", "-d", "400638133393", "--filetype=eps",
                                      "-o", os.path.join(one, "z.eps")]))
            for times, argv in calls[::-1] if pair % 2 else calls:
                times.append(run(argv)[0])
        for _ in range(min(ROUNDS, 5)):
            verify.append(run([VGLYPH, *SERIES, "--verify", "-o", fresh(shm, "verify")])[1])

        print(f"series of 3000 EAN-13 EPS files: vglyph {ms(tool)}", end="")
        if zint:
            print(f", zint --batch {ms(zint)} ({statistics.median(tool) / statistics.median(zint):.2f} times)",
                  end="")
        if loop:
            print(f", eps_series loop {ms(loop)} (the tool {statistics.median(tool) / statistics.median(loop):.2f}"
                  " times the loop)", end="")
        print()
        print(f"one make: vglyph {ms(make)}", end="")
        if zmake:
            pairs = [a / b for a, b in zip(make, zmake)]
            print(f", zint {ms(zmake)}; median ratio of {len(pairs)} pairs {statistics.median(pairs):.2f}", end="")
        print()
        per_file = statistics.median(verify) / 3000 * 1000
        print(f"series with --verify: {statistics.median(verify):.2f} s elapsed, {per_file:.2f} ms a file "
              f"({os.cpu_count()} cores)")
    finally:
        shutil.rmtree(shm, ignore_errors=True)


if __name__ == "__main__":
    main()
