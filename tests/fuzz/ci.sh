#!/usr/bin/env bash
# The short fuzzing pass for continuous integration: builds the fuzz targets,
# replays each target's committed seeds and reproducers once, then fuzzes each
# target from its seeds for an equal share of TOTAL seconds (default 60 in all),
# one target after the other. New inputs go to a scratch folder, never into the
# repository. Fails on any finding (crash, hang beyond 10 s, leak, sanitizer
# report, broken check) and prints where the reproducer was saved.
#
#   tests/fuzz/ci.sh [TOTAL]
#
# Needs clang and libFuzzer (Debian: clang, libclang-rt-14-dev).
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${FUZZ_BUILD:-$root/build-fuzz}"
total="${1:-60}"

bash "$here/build.sh" "$build" || exit 1

targets=()
for dir in "$here"/corpus/*/; do
  name="$(basename "$dir")"
  [ -x "$build/$name" ] && targets+=("$name")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz-ci: no fuzz targets were built" >&2
  exit 1
fi
share=$((total / ${#targets[@]}))
[ "$share" -lt 1 ] && share=1

dict_for() {
  case "$1" in
    fuzz_object_reader | fuzz_document | fuzz_repair) echo "$here/pdf.dict" ;;
    fuzz_cmap) echo "$here/cmap.dict" ;;
    fuzz_afm) echo "$here/afm.dict" ;;
  esac
}

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
status=0
for target in "${targets[@]}"; do
  artifacts="$build/ci-artifacts/$target"
  mkdir -p "$artifacts" "$scratch/$target"
  common=(-timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts/")
  dict="$(dict_for "$target")"
  [ -n "$dict" ] && common+=(-dict="$dict")

  inputs=("$here/corpus/$target"/*)
  [ -d "$here/regressions/$target" ] && inputs+=("$here/regressions/$target"/*)
  replay=()
  for f in "${inputs[@]}"; do [ -f "$f" ] && replay+=("$f"); done
  log="$scratch/$target.log"
  if ! "$build/$target" "${common[@]}" "${replay[@]}" >"$log" 2>&1; then
    echo "fuzz-ci: $target FAILS on a committed input:" >&2
    tail -n 40 "$log" >&2
    status=1
    continue
  fi

  cp "$here/corpus/$target"/* "$scratch/$target"/
  if "$build/$target" "$scratch/$target" "${common[@]}" -max_total_time="$share" \
      -print_final_stats=1 >"$log" 2>&1; then
    execs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')"
    echo "fuzz-ci: $target clean (${share}s, ${execs:-?} executions)"
  else
    echo "fuzz-ci: $target FINDING; reproducer under $artifacts:" >&2
    grep -vE '^#[0-9]+' "$log" | tail -n 60 >&2
    status=1
  fi
done
exit $status
