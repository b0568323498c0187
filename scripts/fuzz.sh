#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang, libFuzzer, AddressSanitizer and UBSan
# in a build folder of their own (default build-fuzz) and runs each for FUZZ_SECONDS
# seconds (default 10), starting from its seeds in tests/fuzz/corpus/<name>/. Where clang
# or its libFuzzer is missing, the same targets are built as replay programs (with the
# sanitizers, under the compiler there is) and run once over their seeds instead.
# A crash or a broken property fails the run; libFuzzer keeps the input that did it in
# <build>/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-10}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

compiler=()
for cxx in clang++ clang++-14; do
  if command -v "$cxx" >/dev/null; then compiler=(-DCMAKE_CXX_COMPILER="$(command -v "$cxx")"); break; fi
done
[ ${#compiler[@]} -gt 0 ] || echo "clang++ not found: the fuzz targets replay their seeds only"
# shellcheck disable=SC2086 # CMAKE_FLAGS holds several options
cmake -S tests/fuzz -B "$build" "${compiler[@]}" ${CMAKE_FLAGS:-} >/dev/null
cmake --build "$build" -j "$jobs"
libfuzzer=$(sed -n 's/^STALLMARK_HAVE_LIBFUZZER:INTERNAL=//p' "$build/CMakeCache.txt")

# The targets that read files write them to a scratch folder, in memory where there is one.
scratch=$(mktemp -d "$( [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/stallmark-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

mkdir -p "$build/artifacts" "$build/logs"
passed=0
failed=0
while read -r name; do
  [ -n "$name" ] || continue
  program="$build/fuzz_$name"
  seeds="tests/fuzz/corpus/$name"
  log="$build/logs/$name.log"
  start=$SECONDS
  if [ "$libfuzzer" = 1 ]; then
    work="$build/corpus/$name"
    mkdir -p "$work"
    run=("$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096
         -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" "$work" "$seeds")
  else
    run=("$program" "$seeds")
  fi
  if "${run[@]}" >"$log" 2>&1; then
    passed=$((passed + 1))
    summary=$(grep -E '^(stat::number_of_executed_units|replayed)' "$log" | tail -1 || true)
    echo "fuzz $name: passed in $((SECONDS - start)) s ${summary:+($summary)}"
  else
    failed=$((failed + 1))
    echo "fuzz $name: FAILED, the last lines of $log:"
    tail -n 40 "$log"
  fi
done <"$build/targets.txt"
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
