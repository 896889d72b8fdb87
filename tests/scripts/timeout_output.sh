#!/usr/bin/env bash
# A test program that CTest stops at its time-out has shown what it printed
# up to then in CTest's log, and a program that ends leaves CTest waiting
# for none of Wine's helper processes (they outlive it in its world); one
# that crashes fails at once, held by no debugger. A program that fails
# without a word is named with its exit code, and one stopped as asked
# (scripts/run stops the program it showed) is not reported as failing.
#   timeout_output.sh WINE_ENV BUILD_DIR
# Runs a CTest of its own in a scratch folder of BUILD_DIR, whose tests run
# through wine-env in worlds of BUILD_DIR (its template prefix must exist).
set -euo pipefail
wine_env=$(realpath "$1")
build=$(cd "$2" && pwd)
say() { echo "time-out output: $*"; }

scratch=$build/scratch/timeout-output
worlds=(timeout-output-waits timeout-output-ends timeout-output-crashes timeout-output-silent timeout-output-stopped)
finish() {
  for world in "${worlds[@]}"; do RAVELIN_WINE_WORLD=$world "$wine_env" "$build" stop || true; done
  rm -rf "$scratch"
}
trap finish EXIT
rm -rf "$scratch"
mkdir -p "$scratch"

marker="printed-before-the-time-out-$$"
cat >"$scratch/CTestTestfile.cmake" <<EOF
add_test(waits "$wine_env" "$build" run cmd.exe /c "echo $marker & ping -n 120 127.0.0.1 >nul")
set_tests_properties(waits PROPERTIES TIMEOUT 10 ENVIRONMENT "RAVELIN_WINE_WORLD=${worlds[0]}")
add_test(ends "$wine_env" "$build" run cmd.exe /c "echo ended & exit 3")
set_tests_properties(ends PROPERTIES TIMEOUT 100 ENVIRONMENT "RAVELIN_WINE_WORLD=${worlds[1]}")
add_test(crashes "$wine_env" "$build" run rundll32.exe kernel32.dll,DebugBreak)
set_tests_properties(crashes PROPERTIES TIMEOUT 100 ENVIRONMENT "RAVELIN_WINE_WORLD=${worlds[2]}")
add_test(silent "$wine_env" "$build" run cmd.exe /c "exit 4")
set_tests_properties(silent PROPERTIES TIMEOUT 100 ENVIRONMENT "RAVELIN_WINE_WORLD=${worlds[3]}")
add_test(stopped bash -c "\"$wine_env\" \"$build\" run cmd.exe /c \"type nul >Z:$scratch/up & ping -n 100 127.0.0.1 >nul\" &
  for i in \$(seq 600); do [ -e \"$scratch/up\" ] && break; sleep 0.1; done; kill \$!; echo stopped-as-asked; wait \$!")
set_tests_properties(stopped PROPERTIES TIMEOUT 100 ENVIRONMENT "RAVELIN_WINE_WORLD=${worlds[4]}")
EOF

say "a program that prints a line, then waits past its time-out of 10 s; one that ends; one that crashes;" \
  "one that fails without a word; one stopped as asked"
log=$scratch/ctest.log
started=$(date +%s)
(cd "$scratch" && ctest --output-on-failure -j5 >"$log" 2>&1) || true
took=$(($(date +%s) - started))
sed 's/^/  | /' "$log"
rc=0
grep -q 'waits .*Timeout' "$log" || { say "FAILED: the waiting program was not stopped at its time-out"; rc=1; }
if [ "$(grep -c "^$marker" "$log")" -lt 1 ]; then
  say "FAILED: its line is not in CTest's output"
  rc=1
fi
grep -q 'ends .*Failed' "$log" || { say "FAILED: the program that ends with exit code 3 did not fail"; rc=1; }
grep -q '^ended' "$log" || { say "FAILED: the line of the program that ends is not in CTest's output"; rc=1; }
grep -q 'crashes .*Failed' "$log" || { say "FAILED: the program that crashes did not fail at once"; rc=1; }
grep -q 'cmd.exe ended with exit code 4 and printed nothing' "$log" ||
  { say "FAILED: the program that failed without a word was not named with its exit code"; rc=1; }
if [ ! -e "$scratch/up" ] || ! grep -q '^stopped-as-asked' "$log"; then
  say "FAILED: the program to be stopped as asked did not run, or was not stopped"
  rc=1
elif grep -q 'ended with exit code 143' "$log"; then
  say "FAILED: the program stopped as asked was reported as failing"
  rc=1
fi
# The ending and the crashing programs' tests return in seconds; CTest held
# up by a helper process holding its pipe, or by a debugger holding the
# crashed program, would have waited for the time-out of 100 s.
if [ "$took" -ge 60 ]; then
  say "FAILED: CTest took $took s: something held its pipe or a program after it ended"
  rc=1
fi
[ $rc = 0 ] && say "both lines shown, the crash failed at once, the silent failure named, the stop not," \
  "CTest done in $took s"
exit $rc
