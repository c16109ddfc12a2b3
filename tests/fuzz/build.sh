#!/usr/bin/env bash
# Configures and builds the fuzz targets with clang into the given folder
# (default <repo>/build-fuzz). Used by run.sh and ci.sh.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-$root/build-fuzz}"
if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
  echo "fuzz: clang is not installed (packages clang and libclang-rt-14-dev)" >&2
  exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fi
cmake --build "$build" -j "${FUZZ_JOBS:-2}" >/dev/null
