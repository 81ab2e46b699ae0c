#!/usr/bin/env bash
# Runs each window test program given under valgrind's memcheck; fails when
# any of them reports a memory error (reads of freed memory, uninitialised
# values, bad frees) or fails on its own.
# Usage: memcheck.sh SUPPRESSIONS PROGRAM[::FUNCTION,...]...
# A program given with test functions runs only those.
set -u
supp="$1"; shift
# The regular expression JIT reads ahead of its strings on purpose.
export QT_ENABLE_REGEXP_JIT=0
status=0
for entry in "$@"; do
  program="${entry%%::*}"
  functions=()
  if [[ "$entry" == *::* ]]; then
    IFS=, read -r -a functions <<<"${entry#*::}"
  fi
  log="$(mktemp)"
  if valgrind --tool=memcheck --error-exitcode=99 --suppressions="$supp" --num-callers=30 \
       "$program" "${functions[@]}" >"$log" 2>&1; then
    echo "memcheck clean: $(basename "$program")"
  else
    echo "memcheck FAILED: $(basename "$program")"
    grep -E '^==[0-9]+== ' "$log" | grep -v -E 'HEAP SUMMARY|LEAK SUMMARY|in use at exit|total heap usage|lost:|reachable:|suppressed:|Rerun with|For lists|Memcheck,|Copyright|Using Valgrind|Command:' | head -n 80
    grep -E '^(FAIL|QFATAL)' "$log" | head -n 20
    status=1
  fi
  rm -f "$log"
done
exit $status
