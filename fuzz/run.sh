#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, fuzzes each for a bounded time, and prints per
# target the runs, the coverage and any crash.
#
# Usage: fuzz/run.sh [-t SECONDS] [TARGET ...]
#   -t SECONDS   fuzzing time per target (default 60)
#   TARGET       only these targets (default: all)
#
# The corpus lives in fuzz/corpus/TARGET/ in the repository: new inputs that
# reach new code are merged into it (minimised, so it stays small), and an
# input that crashes is left there as crash-* -- a regression case that
# ./test replays until the fault is fixed.  Exit code 1 when any target
# crashed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
if [ "${1:-}" = "-t" ]; then
  seconds="$2"
  shift 2
fi
case "$seconds" in ''|*[!0-9]*) echo "fuzz/run.sh: -t needs whole seconds" >&2; exit 2 ;; esac

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(server_form server_head server_photo client_replies remote_config jpeg_frame club_file settings png_decoder)
fi

scripts/install-deps
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j2 >/dev/null

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
crashed=0
printf '%-16s %10s %8s %8s %8s  %s\n' target runs cov ft corpus crash
for t in "${targets[@]}"; do
  corpus=fuzz/corpus/$t
  mkdir -p "$corpus" "$work/$t"
  log=$work/$t.log
  max_len=4096
  case $t in server_photo|jpeg_frame|png_decoder) max_len=65536 ;; esac
  status=0
  build-fuzz/fuzz_"$t" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$corpus/" "$work/$t" "$corpus" >"$log" 2>&1 || status=$?
  # Only what reaches new code joins the corpus in the repository.
  build-fuzz/fuzz_"$t" -merge=1 -max_len="$max_len" "$corpus" "$work/$t" >/dev/null 2>&1 || true
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  size=$(find "$corpus" -type f | wc -l)
  crash=none
  if [ "$status" -ne 0 ]; then
    crashed=1
    crash=$(sed -n "s/.*Test unit written to //p" "$log" | tail -1)
    [ -n "$crash" ] || crash="exit $status (see below)"
  fi
  printf '%-16s %10s %8s %8s %8s  %s\n' "$t" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$size" "$crash"
  if [ "$status" -ne 0 ]; then
    grep -E 'ERROR|SUMMARY|runtime error|#[0-9]+ 0x' "$log" | head -20 | sed 's/^/    /'
  fi
done
exit $crashed
