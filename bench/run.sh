#!/bin/sh
# Times a repair against the copy it starts with and against qpdf.
#
#   bench/run.sh [options]
#     --build DIR     release build directory (default: build-bench in the repo)
#     --scratch DIR   where the input files are made and kept (default:
#                     /tmp/kanafix-bench; files already there are reused)
#     --runs N        timed runs per command (default 10), after 2 warm-up runs
#     --only small|large   one file instead of both
#     --harness       time the harness instead of the tool: its whole repair
#                     (--repair) when the front end is built, else open+walk
#     --no-qpdf       leave qpdf out
#
# For each file (small: 1 000 pages, 50 MB; large: 10 000 pages, 520 MB) it runs
# hyperfine over the commands in one run, so they alternate, with a prepare
# step that removes the output; then it measures the peak memory of each
# command once with /usr/bin/time -v and prints medians, ratios and peaks.
# Needs hyperfine, python3 (and qpdf unless --no-qpdf).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$root/build-bench"
scratch=/tmp/kanafix-bench
runs=10
only=""
harness=0
qpdf=1
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --scratch) scratch=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    --harness) harness=1; shift ;;
    --no-qpdf) qpdf=0; shift ;;
    -h|--help) sed -n '2,18p' "$0"; exit 0 ;;
    *) echo "run.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

for tool in hyperfine python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "run.sh: $tool is missing (apt-get install $tool)" >&2; exit 1; }
done
if [ "$qpdf" = 1 ] && ! command -v qpdf >/dev/null 2>&1; then
  echo "run.sh: qpdf is missing (apt-get install qpdf), or pass --no-qpdf" >&2
  exit 1
fi
[ -x /usr/bin/time ] || { echo "run.sh: /usr/bin/time is missing (apt-get install time)" >&2; exit 1; }

# A release build of its own: -O2, no sanitizers, no test suites.
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DKOYO_SANITIZE=OFF >/dev/null
tool=""
mode=""
if [ "$harness" = 0 ] && cmake --build "$build" -j2 --target kanafix >/dev/null 2>&1; then
  tool=$(find "$build" -type f -name kanafix -perm -u+x | head -n 1)
fi
if [ -n "$tool" ]; then
  label=kanafix
else
  # Until the tool is built: the harness, running the repair the tool runs
  # when the front end is there.
  cmake --build "$build" -j2 --target kanafix_open_walk >/dev/null
  tool="$build/kanafix_open_walk"
  if "$tool" --can-repair; then
    mode="--repair"
    label="repair"
  else
    label="open+walk"
  fi
fi
echo "timing: $label ($tool $mode)"

mkdir -p "$scratch"
make_input() {  # preset
  file="$scratch/$1.pdf"
  if [ ! -s "$file" ]; then
    python3 "$here/make_big_pdf.py" --preset "$1" "$file"
  fi
}

# The median of a command from hyperfine's JSON export.
median() {  # json index
  python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"][int(sys.argv[2])]; print("%.4f" % r["median"])' "$1" "$2"
}
spread() {  # json index: min..max
  python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"][int(sys.argv[2])]; print("%.3f..%.3f" % (r["min"], r["max"]))' "$1" "$2"
}
# Peak resident memory of one run, in KiB.
peak() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ {print $2}'
}

bench_one() {  # preset
  name=$1
  make_input "$name"
  in="$scratch/$name.pdf"
  out="$scratch/$name.out.pdf"
  json="$scratch/$name.json"
  set -- --warmup 2 --runs "$runs" --export-json "$json" --style basic \
    --prepare "rm -f '$out'" \
    -n "$label" "'$tool' $mode '$in' '$out'" \
    -n cp "cp '$in' '$out'"
  if [ "$qpdf" = 1 ]; then
    set -- "$@" -n qpdf "qpdf '$in' '$out'"
  fi
  echo
  echo "== $name: $(wc -c <"$in") bytes"
  hyperfine "$@" >"$scratch/$name.hyperfine.txt"
  k=$(median "$json" 0)
  c=$(median "$json" 1)
  rm -f "$out"; pk=$(peak "$tool" $mode "$in" "$out")
  rm -f "$out"; pc=$(peak cp "$in" "$out")
  printf '%-9s median %8.3f s  (%s)  peak %7d KiB\n' "$label" "$k" "$(spread "$json" 0)" "$pk"
  printf '%-9s median %8.3f s  (%s)  peak %7d KiB\n' cp "$c" "$(spread "$json" 1)" "$pc"
  if [ "$qpdf" = 1 ]; then
    q=$(median "$json" 2)
    rm -f "$out"; pq=$(peak qpdf "$in" "$out")
    printf '%-9s median %8.3f s  (%s)  peak %7d KiB\n' qpdf "$q" "$(spread "$json" 2)" "$pq"
  fi
  python3 - "$k" "$c" "${q:-0}" "$pk" <<'EOF'
import sys
k, c, q, pk = (float(x) for x in sys.argv[1:])
print("ratio to cp    %.2f  (goal at most 1.30)" % (k / c))
if q > 0:
    print("qpdf / tool    %.1f  (goal at least 30)" % (q / k))
print("peak memory    %.1f MiB  (goal at most 64)" % (pk / 1024))
print("beyond copy    %.3f s" % (k - c))
EOF
  rm -f "$out"
}

if [ -z "$only" ] || [ "$only" = small ]; then bench_one small; fi
if [ -z "$only" ] || [ "$only" = large ]; then bench_one large; fi
echo
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) (2 shared cores: re-run when it is low)"
