#!/usr/bin/env python3
"""Times zelta16 on generated programs of 25,000, 50,000 and 100,000 lines
with the standard header, to show that the time stays well under a second
and grows linearly with the source.

Usage: pp_bench.py [--zelta16 PATH] [--include DIR] [--runs N] [--lines N ...]
(defaults: build/dist/bin/zelta16 and include/ of this tree, 5 runs, the
three sizes above). Prints the median wall time per size and per 1,000 lines,
and the largest resident set of the runs.
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
GEN = os.environ.get("ZELTA_GEN_BIG", "/work/shared/bench/gen_big.py")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--zelta16", default=os.path.join(ROOT, "build", "dist", "bin", "zelta16"))
    ap.add_argument("--include", default=os.path.join(ROOT, "include"))
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--lines", type=int, nargs="*", default=[25000, 50000, 100000])
    args = ap.parse_args()

    with tempfile.TemporaryDirectory() as tmp:
        print(f"{'lines':>8} {'median s':>9} {'ms/1k lines':>12} {'peak MB':>8}")
        for n in args.lines:
            src = os.path.join(tmp, f"big{n}.prg")
            subprocess.run([sys.executable, GEN, "--lines", str(n), "--out", src],
                           check=True, stderr=subprocess.DEVNULL)
            cmd = [args.zelta16, src, "/i" + args.include, "/n", "/s", "/p", "/uezelta.ch"]
            times = []
            peak_kb = 0
            for _ in range(args.runs):
                t0 = time.perf_counter()
                child = subprocess.Popen(cmd, cwd=tmp)
                _, status, usage = os.wait4(child.pid, 0)
                times.append(time.perf_counter() - t0)
                child.returncode = os.waitstatus_to_exitcode(status)
                if child.returncode != 0:
                    sys.exit(f"zelta16 failed on big{n}.prg ({child.returncode})")
                peak_kb = max(peak_kb, usage.ru_maxrss)
            med = statistics.median(times)
            with open(os.path.join(tmp, f"big{n}.ppo")) as fh:
                out_lines = sum(1 for _ in fh)
            if out_lines != n:
                sys.exit(f"big{n}.ppo has {out_lines} lines, expected {n}")
            print(f"{n:>8} {med:>9.3f} {1000 * med / n * 1000:>12.3f} {peak_kb / 1024:>8.1f}")


if __name__ == "__main__":
    main()
