#!/usr/bin/env bash
# Repairs the bundled examples with the built tool and shows their fonts before and after.
set -euo pipefail
build=${1:-build}
if [ ! -x "$build/kanafix" ]; then
  echo "demo: $build/kanafix is not built yet" >&2
  exit 1
fi
