#!/usr/bin/env bash
# Times our Spline36 ResampleDIB against Pillow's LANCZOS resize on the same
# 1680 x 1050 picture (the window background when it exists, otherwise the
# benchmark's synthetic picture), in one run, and prints the ratio per size.
# Usage: bench/run_resample_bench.sh [build folder]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
# Debian's python3-pil belongs to Debian's interpreter, whatever else is on PATH.
python=/usr/bin/python3

"$root/scripts/install-deps" python3-pil
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target bench_resample_bench
bench="$build/bench/bench_resample_bench"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
input="$work/input.ppm"
if [ -f "$root/resources/jpeg/BG.jpg" ]; then
  "$python" -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).convert("RGB").save(sys.argv[2])' \
    "$root/resources/jpeg/BG.jpg" "$input"
  echo "input: resources/jpeg/BG.jpg"
else
  "$bench" --write-input="$input"
  echo "input: the benchmark's synthetic picture"
fi

"$bench" --input="$input" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true \
  --benchmark_out="$work/ours.json" --benchmark_out_format=json
"$python" "$root/bench/compare_pillow.py" --input "$input" --ours "$work/ours.json"
