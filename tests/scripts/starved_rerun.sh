#!/usr/bin/env bash
# The runner's re-runs (scripts/wine-env run, RAVELIN_RETRY_LOG set): failed
# real-time cases that ran while the sound device ran dry or threads woke
# late run again, each of them whatever shard it came from, until they pass
# or at most twice, and only while the time-out leaves room for a re-run;
# each outcome is named in the log with the case's first failure. A
# real-time case that fails with nothing seen, or any case that is not
# real-time, is run no more and takes the starved ones with it. No process
# of a re-run's world holds the lock that puts re-runs one after another.
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
lock=$build/wine/rerun.lock
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

# While process $1 lives: each time the lock is held, the processes of the
# probe's world (its Xvfb, and Wine's of its prefix) that hold it too, as
# "PID NAME" lines in $holders, and a line "seen" in $seen for each of them
# looked at.
watch_lock() {
  local runner=$1 wd=$build/wine/world-$world p pid
  while kill -0 "$runner" 2>/dev/null; do
    local holding
    holding=$(find /proc/[0-9]*/fd -maxdepth 1 -lname "$lock" 2>/dev/null | cut -d/ -f3 | sort -u || true)
    if [ -n "$holding" ]; then
      local ours=()
      [ -f "$wd/xvfb.pid" ] && ours+=("$(cat "$wd/xvfb.pid" 2>/dev/null)")
      for p in $(grep -lzxF "WINEPREFIX=$wd/prefix" /proc/[0-9]*/environ 2>/dev/null || true); do
        pid=${p#/proc/}
        pid=${pid%/environ}
        [[ "$(readlink "/proc/$pid/exe" 2>/dev/null)" != */wine/* ]] || ours+=("$pid")
      done
      for pid in "${ours[@]}"; do
        [ -d "/proc/$pid" ] || continue
        echo seen >>"$seen"
        if grep -qx "$pid" <<<"$holding"; then echo "$pid $(cat "/proc/$pid/comm" 2>/dev/null)" >>"$holders"; fi
      done
    fi
    sleep 0.2
  done
}

# probe NAME FILTER [VAR=VALUE...]: runs the probe's cases FILTER with counts
# and a log of their own, judged by the sound device alone unless told;
# sets rc, took (seconds), runs, log and output.
probe() {
  name=$1
  local filter=$2
  shift 2
  runs=$scratch/$name/runs
  log=$scratch/$name/retried.txt
  output=$scratch/$name/output.txt
  holders=$scratch/$name/holders.txt
  seen=$scratch/$name/seen.txt
  mkdir -p "$runs"
  : >"$log"
  : >"$holders"
  : >"$seen"
  say "$name: $filter $*"
  rc=0
  local started=$SECONDS
  # A busy machine wakes the probe late now and then, even in a case that
  # fails at once: a row that counts on the device alone keeps late wakes
  # out. No wait for the build folder's other test programs, which may run
  # now.
  env RAVELIN_LATE_WAKE_MS=1000000 RAVELIN_RERUN_CALM_BY=0 "$@" RAVELIN_WINE_WORLD=$world \
    RAVELIN_PROBE_RUNS="$runs" RAVELIN_RETRY_LOG="$log" \
    "$wine_env" "$build" run "$probe" "--gtest_filter=$filter" >"$output" 2>&1 &
  local runner=$!
  watch_lock "$runner" &
  local watcher=$!
  wait "$runner" || rc=$?
  wait "$watcher" || true
  took=$((SECONDS - started))
  sed 's/^/  log | /' "$log"
}
runs_of() { if [ -f "$runs/$1" ]; then stat -c %s "$runs/$1"; else echo 0; fi; }
expect_runs() {
  local got
  got=$(runs_of "$1")
  [ "$got" = "$2" ] || fail "$name: $1 ran $got times, not $2"
}
expect_log() { grep -qF -- "$1" "$log" || fail "$name: the log does not say \"$1\""; }
expect_output() { grep -qF -- "$1" "$output" || fail "$name: the output does not say \"$1\""; }
show_output_on_failure() {
  [ "$failures" = 0 ] || sed 's/^/  output | /' "$output"
}

# The second of two shards, which holds the case: its re-run is that case,
# not the shard's share of a one-case filter (which would be nothing).
probe passes-at-its-re-run 'Probe.Passes:Probe.FailsStarvedAtItsFirstRun' GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=1
[ "$rc" = 0 ] || fail "$name: the program failed (exit code $rc)"
expect_runs first 2
expect_runs passes 0
expect_log "$world: Probe.FailsStarvedAtItsFirstRun passed at re-run 1 (the run before ran while the sound device"
expect_log "$world:   its first failure: RerunProbe.cpp:"
expect_log "the first run fails"
show_output_on_failure

probe fails-every-time 'Probe.Passes:Probe.FailsStarvedEveryTime'
[ "$rc" != 0 ] || fail "$name: the program passed"
expect_runs every 3
expect_runs passes 1
expect_log "$world: Probe.FailsStarvedEveryTime failed again at re-run 2"
[ "$(grep -c 'its first failure: .*every run fails' "$log")" = 1 ] || fail "$name: the first failure is not told once"
show_output_on_failure

probe fails-fed 'Probe.FailsStarvedAtItsFirstRun:Probe.FailsFed'
[ "$rc" != 0 ] || fail "$name: the program passed"
expect_runs first 1
expect_runs fed 1
[ ! -s "$log" ] || fail "$name: something was run again"
expect_output '[ FED      ] Probe.FailsFed: no device ran dry, '
show_output_on_failure

# Every wake counts as late: a case that is not real-time still fails at
# once, and takes the starved real-time one with it.
probe plain-while-wakes-late 'Probe.FailsStarvedAtItsFirstRun:Probe.FailsPlainAfterFiveSeconds' \
  RAVELIN_LATE_WAKE_MS=0.001
[ "$rc" != 0 ] || fail "$name: the program passed"
expect_runs first 1
expect_runs plain 1
[ ! -s "$log" ] || fail "$name: something was run again"
expect_output '[ NO RERUN ] Probe.FailsPlainAfterFiveSeconds: not real-time; ran while threads woke late ('
expect_output \
  '[ STARVED  ] Probe.FailsStarvedAtItsFirstRun: ran while the sound device ran dry once and threads woke late ('
show_output_on_failure

# A real-time case spoiled by late wakes alone (no sound at all); its
# re-run's Xvfb and Wine processes are watched for the lock.
probe late-wakes 'ProbeRealTime.FailsAtItsFirstRun' RAVELIN_LATE_WAKE_MS=0.001
[ "$rc" = 0 ] || fail "$name: the program failed (exit code $rc)"
expect_runs once 2
expect_log "$world: ProbeRealTime.FailsAtItsFirstRun passed at re-run 1 (the run before ran while threads woke late ("
expect_log "the first run fails"
[ -s "$seen" ] || fail "$name: no process of the re-run's world was seen while the lock was held"
[ ! -s "$holders" ] || fail "$name: processes of the re-run's world hold the lock: $(sort -u "$holders" | tr '\n' ' ')"
show_output_on_failure

# A case of 14 s that fails starved every time, in a time-out of 60 s: a
# re-run is estimated at its set-up and 21 s, so one re-run at most fits
# (none on a machine slow to make worlds), and none after it.
probe out-of-time 'ProbeRealTime.FailsStarvedForFourteenSeconds' RAVELIN_TEST_TIMEOUT=60
[ "$rc" != 0 ] || fail "$name: the program passed"
[ "$took" -lt 60 ] || fail "$name: it took $took s, past its time-out of 60 s"
[ "$(runs_of long)" -le 2 ] || fail "$name: it ran $(runs_of long) times"
expect_log "$world: ProbeRealTime.FailsStarvedForFourteenSeconds failed starved, not run again: "
expect_log " s of its 60 s time-out left, a re-run takes about "
expect_log "its first failure: RerunProbe.cpp:"
say "$name: $(runs_of long) runs in $took s"
show_output_on_failure

[ "$failures" = 0 ] || exit 1
say "starved real-time cases re-run from their shard, by a device run dry or late wakes, within the time-out," \
  "and never with the lock handed on; none re-run for a case failed fed or one not real-time"
