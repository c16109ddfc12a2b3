#!/usr/bin/env bash
# Regenerates the built-in data tables into a temporary directory and compares
# them with the committed sources in koyo/resource/generated/. A table whose
# source data is not installed here is skipped. Exit 0: all compared tables
# match; 1: a table differs or a generator failed; 77: nothing could be compared.
#
# The Core 14 AFM files are looked for in $KOYO_CORE14_AFM_DIR (a directory
# holding Courier.afm ...), e.g. the js/data folder of the npm package pdfkit.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
gen="$root/koyo/resource/generated"
python="${PYTHON:-python3}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

compared=0
failed=0

run() {  # run <output file> <generator> [args...]
  local out="$1" tool="$2"
  shift 2
  "$python" "$root/tools/$tool" --out "$tmp/$out" "$@" 2>"$tmp/$out.err"
  local rc=$?
  if [ $rc -eq 2 ]; then
    echo "check_generated: $out skipped: $(cat "$tmp/$out.err")"
    return
  fi
  if [ $rc -ne 0 ]; then
    echo "check_generated: $tool failed:"; cat "$tmp/$out.err"
    failed=1
    return
  fi
  compared=$((compared + 1))
  if cmp -s "$tmp/$out" "$gen/$out"; then
    echo "check_generated: $out matches"
  else
    echo "check_generated: $out differs from the committed source:"
    diff "$gen/$out" "$tmp/$out" | head -20
    failed=1
  fi
}

run EncodingData.cpp gen_encodings.py
run SJISData.cpp gen_sjis.py
run CMapData.cpp gen_cmaps.py
if [ -n "${KOYO_CORE14_AFM_DIR:-}" ]; then
  run AFMData.cpp gen_afm.py --afm-dir "$KOYO_CORE14_AFM_DIR"
else
  echo "check_generated: AFMData.cpp skipped: KOYO_CORE14_AFM_DIR is not set"
fi

[ $failed -ne 0 ] && exit 1
[ $compared -eq 0 ] && exit 77
exit 0
