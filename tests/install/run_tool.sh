#!/usr/bin/env bash
# run_tool.sh TOOL PACKAGE -- ARGS...: runs TOOL with ARGS; fails naming the
# Debian package when the tool is not installed.
set -euo pipefail
tool=$1 package=$2
shift 3
if ! command -v "$tool" > /dev/null; then
  echo "$tool is missing: install the Debian package $package (scripts/setup-debian.sh does)" >&2
  exit 1
fi
exec "$tool" "$@"
