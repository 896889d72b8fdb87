#!/usr/bin/env bash
# A program kept running in a build folder's lasting world (as
# `RAVELIN_KEEP_RUNNING=1 scripts/run` keeps it) outlives the stop that ends
# a test run in the same folder: that stop ends only the worlds made for
# single runs. A plain `stop` still ends it. Meanwhile the runs beside it
# never leave the world's sound configuration empty for a moment.
#   lasting_world.sh WINE_ENV SCRATCH_BUILD_DIR STOP_ARGS...
# STOP_ARGS are the arguments the test run's stop gives wine-env.
set -euo pipefail
wine_env=$1
build=$2
shift 2
say() { echo "lasting world: $*"; }

if [ -d "$build" ]; then "$wine_env" "$build" stop || true; fi # what an interrupted check left
rm -rf "$build"
mkdir -p "$build"
kept=
finish() {
  "$wine_env" "$build" stop || true
  if [ -n "$kept" ]; then wait "$kept" 2>/dev/null || true; fi
  rm -rf "$build"
}
trap finish EXIT

say "preparing the lasting world of $build"
"$wine_env" "$build" start
# The kept program: it notes that it runs, then waits for five minutes.
"$wine_env" "$build" run cmd.exe /c "echo up>C:\\kept-up.txt & ping -n 300 127.0.0.1 >nul" &
kept=$!
up=$build/wine/prefix/drive_c/kept-up.txt
for _ in $(seq 600); do [ -f "$up" ] && break; sleep 0.1; done
[ -f "$up" ] || { say "FAILED: the kept program did not start"; exit 1; }
xvfb=$(cat "$build/wine/xvfb.pid")

# Every run rewrites the world's sound configuration: a program of the
# world that opens its sound device meanwhile must never find it empty or
# missing (it would play into no device).
say "running programs beside one that reads the sound configuration"
conf=$build/wine/home/.asoundrc
missed=$build/missed.txt
: >"$missed"
(while [ ! -f "$build/runs-done" ]; do [ -s "$conf" ] || echo x >>"$missed"; done) &
reader=$!
for _ in 1 2 3 4 5 6; do "$wine_env" "$build" run cmd.exe /c exit 0 >/dev/null 2>&1 || true; done
touch "$build/runs-done"
wait "$reader"
if [ -s "$missed" ]; then
  say "FAILED: the sound configuration was empty or missing $(wc -l <"$missed") times"
  exit 1
fi
say "the sound configuration was whole at every reading"

say "the test run's stop: wine-env BUILD $*"
"$wine_env" "$build" "$@"
sleep 2
rc=0
if kill -0 "$kept" 2>/dev/null; then say "the kept program still runs"; else
  say "FAILED: the kept program was ended"
  rc=1
fi
if kill -0 "$xvfb" 2>/dev/null; then say "its display still runs"; else
  say "FAILED: its display was ended"
  rc=1
fi
[ $rc = 0 ] || exit $rc

"$wine_env" "$build" stop
for _ in $(seq 100); do kill -0 "$kept" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$kept" 2>/dev/null; then
  say "FAILED: a plain stop did not end the kept program"
  exit 1
fi
say "a plain stop ended it"
