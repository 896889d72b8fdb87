#!/usr/bin/env bash
# The runner's re-runs (scripts/wine-env run, RAVELIN_RETRY_LOG set): cases
# of a test program that failed with a sound device run dry run again, each
# of them whatever shard it came from, until they pass or at most twice; a
# case that fails without starving is run no more, and takes the starved
# ones with it. Each re-run's outcome is named in the log.
#   starved_rerun.sh WINE_ENV BUILD_DIR PROBE_EXE
# PROBE_EXE is tests/scripts/RerunProbe.cpp built; it runs in a world of
# BUILD_DIR (its template prefix must exist).
set -euo pipefail
wine_env=$(realpath "$1")
build=$(cd "$2" && pwd)
probe=$(realpath "$3")
say() { echo "starved re-runs: $*"; }

scratch=$build/scratch/starved-rerun
world=starved-rerun
finish() {
  RAVELIN_WINE_WORLD=$world "$wine_env" "$build" stop || true
  rm -rf "$scratch"
}
trap finish EXIT
rm -rf "$scratch"

failures=0
fail() {
  say "FAILED: $*"
  failures=$((failures + 1))
}

# probe NAME FILTER [VAR=VALUE...]: runs the probe's cases FILTER with counts
# and a log of their own; sets rc, runs and log.
probe() {
  name=$1
  local filter=$2
  shift 2
  runs=$scratch/$name/runs
  log=$scratch/$name/retried.txt
  mkdir -p "$runs"
  : >"$log"
  say "$name: $filter $*"
  rc=0
  # Starved by the sound device alone: a busy machine wakes the probe late
  # now and then, even in a case that fails at once. No wait for the build
  # folder's other test programs, which may run now.
  env "$@" RAVELIN_WINE_WORLD=$world RAVELIN_PROBE_RUNS="$runs" RAVELIN_RETRY_LOG="$log" \
    RAVELIN_LATE_WAKE_MS=1000000 RAVELIN_RERUN_CALM_BY=0 \
    "$wine_env" "$build" run "$probe" "--gtest_filter=$filter" >"$scratch/$name/output.txt" 2>&1 || rc=$?
  sed 's/^/  log | /' "$log"
}
runs_of() { if [ -f "$runs/$1" ]; then stat -c %s "$runs/$1"; else echo 0; fi; }
expect_runs() {
  local got
  got=$(runs_of "$1")
  [ "$got" = "$2" ] || fail "$name: $1 ran $got times, not $2"
}
expect_log() { grep -qF "$1" "$log" || fail "$name: the log does not say \"$1\""; }
show_output_on_failure() {
  [ "$failures" = 0 ] || sed 's/^/  output | /' "$scratch/$name/output.txt"
}

# The second of two shards, which holds the case: its re-run is that case,
# not the shard's share of a one-case filter (which would be nothing).
probe passes-at-its-re-run 'Probe.Passes:Probe.FailsStarvedAtItsFirstRun' GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=1
[ "$rc" = 0 ] || fail "$name: the program failed (exit code $rc)"
expect_runs first 2
expect_runs passes 0
expect_log "$world: Probe.FailsStarvedAtItsFirstRun passed at re-run 1; starved before: the sound device ran dry"
show_output_on_failure

probe fails-every-time 'Probe.Passes:Probe.FailsStarvedEveryTime'
[ "$rc" != 0 ] || fail "$name: the program passed"
expect_runs every 3
expect_runs passes 1
expect_log "$world: Probe.FailsStarvedEveryTime failed again at re-run 2"
show_output_on_failure

probe fails-fed 'Probe.FailsStarvedAtItsFirstRun:Probe.FailsFed'
[ "$rc" != 0 ] || fail "$name: the program passed"
expect_runs first 1
expect_runs fed 1
[ ! -s "$log" ] || fail "$name: something was run again"
grep -q '^\[ FED      \] Probe.FailsFed: ' "$scratch/$name/output.txt" || fail "$name: the case that failed fed is not named"
show_output_on_failure

[ "$failures" = 0 ] || exit 1
say "a starved case re-run from its shard, one re-run twice, none for a case failed fed"
