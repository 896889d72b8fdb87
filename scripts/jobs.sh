# Sourced by the build scripts: the number of parallel build jobs, from
# RAVELIN_JOBS (a positive whole number) or else every core of the machine.
jobs=${RAVELIN_JOBS:-$(nproc)}
case $jobs in
  '' | *[!0-9]* | 0) echo "RAVELIN_JOBS must be a positive whole number, not '$jobs'" >&2; exit 2 ;;
esac
