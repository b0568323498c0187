#!/usr/bin/env bash
# Runs every test of a build folder once, headless. When tests fail and every one of them
# matches the pattern of tests that drive an outside server (the second argument), those
# are run once more and that run decides; any other failing test fails the run at once.
set -euo pipefail
build=$1
retry=${2:-}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
cd "$build"
export QT_QPA_PLATFORM=offscreen
if ctest --output-on-failure --no-tests=error -j "$jobs"; then exit 0; fi

failed=$(sed 's/^[0-9]*://' Testing/Temporary/LastTestsFailed.log)
others=$(grep -Ev -- "${retry:-^$}" <<<"$failed" || true)
if [ -z "$retry" ] || [ -n "$others" ]; then
  echo "Failed: $(tr '\n' ' ' <<<"$failed")"
  exit 1
fi
echo "Run once more, as they drive an outside server: $(tr '\n' ' ' <<<"$failed")"
ctest --output-on-failure --rerun-failed -j "$jobs"
