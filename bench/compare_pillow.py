#!/usr/bin/env python3
"""Times Pillow's Image.resize(..., LANCZOS) on the picture and sizes of the
ResampleDIB benchmark and prints both timings and their ratio per size.

  compare_pillow.py --input picture.ppm --ours results.json

results.json is the Google Benchmark JSON output of bench_resample_bench
(run with repetitions; the median is compared when present).  Both sides are
timed in CPU time of the process, which a machine shared with other work
disturbs far less than wall time; both resamplers run on one thread."""
import argparse
import json
import statistics
import sys
import time

import PIL
from PIL import Image

SIZES = [(760, 500), (990, 650), (1290, 850), (1520, 1000)]


def our_times(path):
    """CPU milliseconds per size from the benchmark's JSON: median if there is one."""
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    times = {}
    for run in runs:
        name = run["run_name"] if "run_name" in run else run["name"]
        size = tuple(int(v) for v in name.split("/")[1:3])
        aggregate = run.get("aggregate_name")
        if aggregate not in (None, "median"):
            continue
        if aggregate == "median" or size not in times:
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
            times[size] = run["cpu_time"] * scale
    return times


def pillow_time(picture, size, repetitions):
    picture.resize(size, Image.LANCZOS)  # warm up
    samples = []
    for _ in range(repetitions):
        start = time.process_time()
        picture.resize(size, Image.LANCZOS)
        samples.append((time.process_time() - start) * 1e3)
    return statistics.median(samples)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--input", required=True)
    parser.add_argument("--ours", required=True)
    parser.add_argument("--repetitions", type=int, default=15)
    args = parser.parse_args()

    picture = Image.open(args.input).convert("RGB")
    picture.load()
    ours = our_times(args.ours)
    print(f"source {picture.size[0]} x {picture.size[1]}; Pillow {PIL.__version__}; median CPU times")
    print(f"{'size':>12} {'ours ms':>9} {'Pillow ms':>10} {'ours/Pillow':>12}")
    worst = 0.0
    for size in SIZES:
        theirs = pillow_time(picture, size, args.repetitions)
        mine = ours.get(size)
        if mine is None:
            print(f"{size[0]:>5} x {size[1]:<4}   (no result of ours)")
            worst = float("inf")
            continue
        ratio = mine / theirs
        worst = max(worst, ratio)
        print(f"{size[0]:>5} x {size[1]:<4} {mine:9.2f} {theirs:10.2f} {ratio:12.2f}")
    print(f"worst ratio {worst:.2f} ({'at most' if worst <= 1.0 else 'above'} 1.0)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
