#!/usr/bin/env bash
# Repairs every example in examples/ into a scratch folder and shows, per file,
# the fonts before and after (as pdffonts, an independent reader, lists them).
set -euo pipefail
build=${1:-build}
tool="$build/kanafix"
if [ ! -x "$tool" ]; then
  echo "demo: $tool is not built" >&2
  exit 1
fi
out=$(mktemp -d "${TMPDIR:-/tmp}/kanafix-demo.XXXXXX")
for input in examples/*.pdf; do
  name=$(basename "$input")
  echo "=== $name"
  echo "--- fonts before"
  pdffonts "$input" 2>/dev/null | sed 's/^/    /'
  if "$tool" "$input" "$out/$name" > "$out/$name.report" 2>&1; then
    echo "--- what kanafix did"
    sed 's/^/    /' "$out/$name.report"
    echo "--- fonts after ($out/$name)"
    pdffonts "$out/$name" 2>/dev/null | sed 's/^/    /'
  else
    echo "--- repair failed:"
    sed 's/^/    /' "$out/$name.report"
  fi
  echo
done
echo "Repaired files are in $out"
