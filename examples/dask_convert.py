#!/usr/bin/python3
"""Convert a partitioned CSV dataset between coordinate systems on a Dask cluster.

Every CSV file of INPUT (columns name, east, north, height; any number of files) becomes a
partition of a Dask DataFrame; map_partitions converts each with one tarvo.Transformer,
which travels to the workers pickled as its arguments and is built once per worker process
(a grid file is read once per worker). The result is written to OUTPUT as partitioned CSV,
or Parquet when pyarrow is installed and --parquet is given.

    # 1 M generated points in 8 files, converted on a local cluster of two worker processes
    python3 examples/dask_convert.py --make 1000000 --files 8 data/in data/out

    # the same on an existing cluster: only the scheduler's address changes
    python3 examples/dask_convert.py --scheduler tcp://10.0.0.5:8786 data/in data/out

The input and output must be on storage every worker can read and write.
"""

import argparse
import contextlib
import glob
import os
import sys
import time

import numpy as np
import pandas as pd

import tarvo

COLUMNS = ["name", "east", "north", "height"]


def make_points(folder, count, files, seed=1):
    """`count` points of AMG zone 56 around Sydney in `files` CSV files."""
    os.makedirs(folder, exist_ok=True)
    rng = np.random.default_rng(seed)
    for part, indices in enumerate(np.array_split(np.arange(count), files)):
        frame = pd.DataFrame({
            "name": [f"P{i}" for i in indices],
            "east": np.round(rng.uniform(280000.0, 360000.0, indices.size), 3),
            "north": np.round(rng.uniform(6200000.0, 6300000.0, indices.size), 3),
            "height": np.round(rng.uniform(0.0, 900.0, indices.size), 3),
        })
        frame.to_csv(os.path.join(folder, f"part-{part:04d}.csv"), index=False)


def convert_partition(frame, transformer):
    """One partition: its points in the target system (NaN outside the grid)."""
    east, north, height = transformer.transform(frame["east"].to_numpy(),
                                                frame["north"].to_numpy(),
                                                frame["height"].to_numpy())
    return frame.assign(east=east, north=north, height=height)


def run_on_cluster(source_folder, output_folder, transformer, parquet):
    """On the cluster of the Client made last (Dask's default)."""
    import dask.dataframe as dd

    types = {"name": object, "east": np.float64, "north": np.float64, "height": np.float64}
    frame = dd.read_csv(os.path.join(source_folder, "*.csv"), dtype=types)
    converted = frame.map_partitions(convert_partition, transformer, meta=types)
    os.makedirs(output_folder, exist_ok=True)
    if parquet:
        converted.to_parquet(output_folder, write_index=False)
    else:
        converted.to_csv(os.path.join(output_folder, "part-*.csv"), index=False,
                         float_format="%.3f")
    return len(frame)


def run_in_one_process(source_folder, transformer):
    """The same conversion without Dask: every file read, converted and formatted in turn."""
    count = 0
    for path in sorted(glob.glob(os.path.join(source_folder, "*.csv"))):
        converted = convert_partition(pd.read_csv(path), transformer)
        converted.to_csv(os.devnull, index=False, float_format="%.3f")
        count += len(converted)
    return count


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("input", help="folder of CSV files (name,east,north,height)")
    parser.add_argument("output", help="folder for the converted files")
    parser.add_argument("--from", dest="source", default="AMG:56", help="default AMG:56")
    parser.add_argument("--to", dest="target", default="MGA:56", help="default MGA:56")
    parser.add_argument("--params", default="national", help="7-parameter set (national)")
    parser.add_argument("--grid", help="NTv2 grid file (the grid method)")
    parser.add_argument("--make", type=int, metavar="N", help="first write N points to INPUT")
    parser.add_argument("--files", type=int, default=8, help="files --make writes (8)")
    parser.add_argument("--scheduler", help="address of a running Dask scheduler; without "
                        "it a local cluster of --workers processes is started")
    parser.add_argument("--workers", type=int, default=2, help="local worker processes (2)")
    parser.add_argument("--parquet", action="store_true", help="write Parquet (needs pyarrow)")
    parser.add_argument("--compare", action="store_true",
                        help="also time the same work in this one process")
    args = parser.parse_args(argv)

    from distributed import Client, LocalCluster

    if args.make:
        make_points(args.input, args.make, args.files)
    # One thread per task: Dask runs the partitions side by side.
    transformer = tarvo.Transformer(args.source, args.target, params=args.params,
                                    grid=args.grid, threads=1)
    with contextlib.ExitStack() as stack:
        if args.scheduler:
            stack.enter_context(Client(args.scheduler))
        else:
            cluster = stack.enter_context(LocalCluster(n_workers=args.workers,
                                                       threads_per_worker=1,
                                                       dashboard_address=None))
            stack.enter_context(Client(cluster))
        start = time.perf_counter()
        count = run_on_cluster(args.input, args.output, transformer, args.parquet)
        seconds = time.perf_counter() - start
    print(f"{count} points in {seconds:.2f} s on the cluster: {count / seconds:,.0f} points/s")
    if args.compare:
        start = time.perf_counter()
        count = run_in_one_process(args.input, transformer)
        seconds = time.perf_counter() - start
        print(f"{count} points in {seconds:.2f} s in one process: "
              f"{count / seconds:,.0f} points/s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
