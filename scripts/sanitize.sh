#!/usr/bin/env bash
# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer (with the
# float-to-integer overflow check, which GCC leaves out of "undefined") in a build
# folder of its own (default build-asan), then run through CTest. Every finding stops the
# test that made it (no recovery), so a finding fails the run. Optimised at -O1, without
# the benchmarks; the Windows tests are left out, as they cross-compile with MinGW and
# nothing of them would be instrumented (make test runs them). The Qt and system
# libraries are not instrumented either; the program's own code all is.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-asan}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all"

# The crash campaign kills its 200 saves of each kind in make test; here a few suffice to
# run its code under the sanitizers (a forked instrumented process is slow to copy).
# shellcheck disable=SC2086 # CMAKE_FLAGS holds several options
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DSTALLMARK_WERROR=ON -DSTALLMARK_BENCH=OFF \
  -DSTALLMARK_WINE_TESTS=OFF -DSTALLMARK_CRASH_KILLS=20 -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined,float-cast-overflow" ${CMAKE_FLAGS:-}
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The same rule as make test: only the tests that drive an outside server get a second run.
JOBS=$jobs bash scripts/run-ctest.sh "$build" "${RETRY_TESTS:-}"
