#!/usr/bin/env bash
# Builds the fuzz targets and runs each one, one after the other, for SECONDS
# seconds (each target gets the full time; nothing runs in parallel).
#
#   tests/fuzz/run.sh SECONDS [target...]      default: every target with a corpus folder
#
# Environment: FUZZ_BUILD (build folder, default <repo>/build-fuzz), FUZZ_NICE
# (nice level, default 19), FUZZ_ARGS (more libFuzzer flags).
#
# New inputs collect in $FUZZ_BUILD/corpus/<target>/ (the committed seeds in
# corpus/<target>/ are only read), findings in $FUZZ_BUILD/artifacts/<target>/,
# the fuzzer's output in $FUZZ_BUILD/logs/<target>-<time>.log. Each run appends
# one line to $FUZZ_BUILD/logs/runs.tsv: target, seconds it ran, executions, result.
# Exits non-zero when any target reported a finding.
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${FUZZ_BUILD:-$root/build-fuzz}"
nice_level="${FUZZ_NICE:-19}"

if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS [target...]" >&2
  exit 2
fi
seconds="$1"
shift

bash "$here/build.sh" "$build" || exit 1

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in "$here"/corpus/*/; do
    name="$(basename "$dir")"
    [ -x "$build/$name" ] && targets+=("$name")
  done
fi

# The dictionary of each target.
dict_for() {
  case "$1" in
    fuzz_object_reader | fuzz_document | fuzz_repair) echo "$here/pdf.dict" ;;
    fuzz_cmap) echo "$here/cmap.dict" ;;
    fuzz_afm) echo "$here/afm.dict" ;;
  esac
}

mkdir -p "$build/logs"
status=0
for target in "${targets[@]}"; do
  if [ ! -x "$build/$target" ]; then
    echo "run: no such target: $target" >&2
    status=1
    continue
  fi
  work="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$work" "$artifacts"
  log="$build/logs/$target-$(date +%Y%m%d-%H%M%S).log"
  dict="$(dict_for "$target")"
  echo "run: $target for ${seconds}s (log: $log)"
  # -jobs=1 -workers=1: one fuzzing process, whose output goes to fuzz-0.log
  # in the working folder and which the parent prints when the job ends.
  jobdir="$(mktemp -d)"
  started=$SECONDS
  (
    cd "$jobdir" &&
      nice -n "$nice_level" "$build/$target" "$work" "$here/corpus/$target" \
        ${dict:+-dict="$dict"} -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -jobs=1 -workers=1 -print_final_stats=1 -artifact_prefix="$artifacts/" ${FUZZ_ARGS:-}
  ) >"$log" 2>&1
  rc=$?
  elapsed=$((SECONDS - started))
  rm -rf "$jobdir"
  execs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | tail -1 | grep -o '[0-9]*$')"
  found="$(grep -cE '^==[0-9]+==ERROR|runtime error:|fuzz check failed|ALARM: working on the last Unit|out-of-memory' "$log")"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    result="FINDING (exit $rc), see $artifacts"
    status=1
  else
    result="clean"
  fi
  printf '%s\t%s\t%s\t%s\n' "$target" "$elapsed" "${execs:-?}" "$result" | tee -a "$build/logs/runs.tsv"
done
exit $status
