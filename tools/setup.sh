#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
# As root it runs apt-get itself; otherwise it prints the one command to run.
set -euo pipefail

packages=(
  # build
  g++ cmake make pkg-config
  zlib1g-dev libjpeg62-turbo-dev libtiff-dev libmd-dev libfreetype-dev libfontconfig-dev
  # tests: GoogleTest, independent PDF readers, real Japanese fonts, reference data
  libgtest-dev qpdf poppler-utils fonts-ipafont poppler-data python3-reportlab ghostscript
  # fuzzing: clang with libFuzzer
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq || true
  apt-get install -y -qq "${missing[@]}"
else
  echo "setup: missing packages: ${missing[*]}" >&2
  echo "setup: run: sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
