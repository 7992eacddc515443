#!/bin/sh
# Builds the readers natively (clang, libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and fuzzes each in turn: first the saved
# reproducers of faults already fixed, then FUZZ_SECONDS (default 60) of
# new inputs from the seed corpus (at most FUZZ_RUNS of them when that is set).
# A crash leaves its reproducer in <build>/crashes/<target>/; the exit status
# is non-zero when any target crashed or failed to build.
#
# Any one allocation above 64 MB counts as a crash: no reader may take a
# size from its input unchecked.
#
# Usage: scripts/fuzz.sh [--brief] [build-dir] [target...]
#   --brief  a few seconds a target, at low priority: the check that runs
#            with the unit tests beside the Wine suites.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
brief=0
if [ "${1:-}" = "--brief" ]; then brief=1; shift; fi
build=${1:-$root/build/fuzz}
[ $# -gt 0 ] && shift
seconds=${FUZZ_SECONDS:-60}
[ $brief -eq 1 ] && seconds=${FUZZ_SECONDS:-2}
jobs=${FUZZ_JOBS:-2}
cxx=${FUZZ_CXX:-clang++-14}

command -v "$cxx" >/dev/null 2>&1 || { echo "fuzz: $cxx not found (scripts/deps.sh installs it)" >&2; exit 2; }
start=$(date +%s)
mkdir -p "$build"
if [ ! -f "$build/CMakeCache.txt" ]; then
  CXX=$cxx cmake -S "$root/tests/fuzz" -B "$build" >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; exit 2; }
fi
nice -n 10 cmake --build "$build" -j "$jobs" >"$build/build.log" 2>&1 || { cat "$build/build.log" >&2; exit 2; }
echo "fuzz: native build $(( $(date +%s) - start )) s"

targets="$*"
[ -n "$targets" ] || targets=$(cd "$root/tests/fuzz/targets" && ls *.cpp | sed 's/\.cpp$//')
failed=""
for t in $targets; do
  crashes="$build/crashes/$t"
  corpus="$build/corpus/$t"
  mkdir -p "$crashes" "$corpus"
  log="$build/$t.log"
  regressions="$root/tests/fuzz/regressions/$t"
  if [ -d "$regressions" ] && [ -n "$(ls "$regressions")" ]; then
    if ! "$build/$t" "$regressions"/* >"$build/$t.regressions.log" 2>&1; then
      echo "fuzz: $t: a saved reproducer fails again; see $build/$t.regressions.log" >&2
      failed="$failed $t"
      continue
    fi
  fi
  limit="-max_total_time=$seconds"
  [ -n "${FUZZ_RUNS:-}" ] && limit="$limit -runs=$FUZZ_RUNS"
  # New inputs go to the build's own corpus; the seeds stay as they are.
  nice -n 19 "$build/$t" $limit -print_final_stats=1 -rss_limit_mb=2048 -malloc_limit_mb=64 -timeout=10 \
    -artifact_prefix="$crashes/" "$corpus" "$root/tests/fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  done_line=$(grep -E '^#[0-9]+' "$log" | tail -1)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  cov=$(echo "$done_line" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
  ft=$(echo "$done_line" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
  if [ $rc -eq 0 ]; then result=ok; else result="CRASH (see $log and $crashes)"; failed="$failed $t"; fi
  printf 'fuzz: %-17s %11s runs  cov %-4s ft %-5s %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$result"
done
echo "fuzz: $(( $(date +%s) - start )) s in all"
if [ -n "$failed" ]; then
  echo "fuzz: failed:$failed" >&2
  exit 1
fi
