#!/usr/bin/env bash
# Configures and builds the fuzz targets with clang into the given folder
# (default <repo>/build-fuzz). Used by run.sh and ci.sh; prints the build's
# output only when it fails.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-$root/build-fuzz}"
if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
  echo "fuzz: clang is not installed (packages clang and libclang-rt-14-dev)" >&2
  exit 1
fi
mkdir -p "$build"
log="$build/build.log"
if [ ! -f "$build/CMakeCache.txt" ]; then
  if ! cmake -S "$here" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
fi
if ! cmake --build "$build" -j "${FUZZ_JOBS:-2}" >"$log" 2>&1; then
  grep -E "error|Error" "$log" | head -n 40 >&2
  echo "fuzz: the build failed; full output in $log" >&2
  exit 1
fi
