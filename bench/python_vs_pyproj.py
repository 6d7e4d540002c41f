#!/usr/bin/python3
"""tarvo.Transformer.transform against pyproj's Transformer.transform on the same arrays.

AGD AMG zone 56 to GDA94 MGA zone 56, by the National 7-parameter set and by the national
AGD66 NTv2 grid (TARVO_SHARED_DATA/grids), over 1 M and 4 M points around Sydney. Each
measurement runs in a process of its own, so that its peak memory is its own: the median of
5 runs with the spread (min to max), the throughput, and the process's peak resident size.
Build the module without sanitizers first:

    cmake -S . -B build/rel -DCMAKE_BUILD_TYPE=Release -DTARVO_PYTHON=ON
    cmake --build build/rel --target tarvo_python
    PYTHONPATH=build/rel/python TARVO_SHARED_DATA=../shared python3 bench/python_vs_pyproj.py
"""

import argparse
import json
import os
import resource
import statistics
import subprocess
import sys
import time

import numpy as np

NATIONAL = ("+x=-117.763 +y=-51.510 +z=139.061 +rx=-0.292 +ry=-0.443 +rz=-0.277 +s=-0.191 "
            "+convention=coordinate_frame")


def grid_path():
    shared = os.environ.get("TARVO_SHARED_DATA")
    path = os.path.join(shared or "", "grids", "A66_National_13_09_01.gsb")
    return path if shared and os.path.isfile(path) else None


def pipeline(method):
    amg = "+step +inv +proj=utm +zone=56 +south +ellps=aust_SA"
    mga = "+step +proj=utm +zone=56 +south +ellps=GRS80"
    if method == "ntv2":
        middle = f"+step +proj=hgridshift +grids={grid_path()}"
    else:
        middle = (f"+step +proj=cart +ellps=aust_SA +step +proj=helmert {NATIONAL} "
                  "+step +inv +proj=cart +ellps=GRS80")
    return f"+proj=pipeline {amg} {middle} {mga}"


def points(count):
    rng = np.random.default_rng(2026)
    return (rng.uniform(280000.0, 360000.0, count), rng.uniform(6200000.0, 6300000.0, count))


def measure(library, method, count, threads, repeats):
    """One measurement in this process: seconds of each run and the peak resident size."""
    x, y = points(count)
    if library == "tarvo":
        import tarvo
        t = tarvo.Transformer("AMG:56", "MGA:56", threads=threads,
                              grid=grid_path() if method == "ntv2" else None)
        run = lambda: t.transform(x, y)  # noqa: E731
    else:
        import pyproj
        t = pyproj.Transformer.from_pipeline(pipeline(method))
        run = lambda: t.transform(x, y)  # noqa: E731
    run()  # the grid read, the first pages touched
    seconds = []
    for _ in range(repeats):
        start = time.perf_counter()
        run()
        seconds.append(time.perf_counter() - start)
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024
    return {"seconds": seconds, "peak": peak}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--points", type=int, nargs="+", default=[1000000, 4000000])
    parser.add_argument("--threads", type=int, nargs="+", default=[1, 2])
    parser.add_argument("--repeats", type=int, default=5)
    parser.add_argument("--one", nargs=4, metavar=("LIBRARY", "METHOD", "POINTS", "THREADS"),
                        help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.one:
        library, method, count, threads = args.one
        print(json.dumps(measure(library, method, int(count), int(threads), args.repeats)))
        return 0

    methods = ["7-parameter"] + (["ntv2"] if grid_path() else [])
    if not grid_path():
        print("(NTv2 skipped: set TARVO_SHARED_DATA to the folder holding grids/)")
    print(f"{'method':<12}{'points':>9}  {'library':<16}{'median s':>9}  {'spread s':>15}"
          f"{'Mpts/s':>8}{'peak MiB':>10}{'vs pyproj':>10}")
    for method in methods:
        for count in args.points:
            runs = [("pyproj", 1)] + [("tarvo", n) for n in args.threads]
            base = None
            for library, threads in runs:
                output = subprocess.run(
                    [sys.executable, __file__, "--repeats", str(args.repeats), "--one", library,
                     method, str(count), str(threads)], check=True, capture_output=True,
                    text=True).stdout
                result = json.loads(output)
                median = statistics.median(result["seconds"])
                base = base or median
                name = library if library == "pyproj" else f"tarvo {threads} thr"
                spread = f"{min(result['seconds']):.3f}-{max(result['seconds']):.3f}"
                print(f"{method:<12}{count:>9}  {name:<16}{median:>9.3f}  {spread:>15}"
                      f"{count / median / 1e6:>8.2f}{result['peak'] / 2**20:>10.0f}"
                      f"{base / median:>9.2f}x", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
