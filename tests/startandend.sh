#!/bin/sh
# Starts a program, waits until one of the paths exists (the program has
# started), then asks it to end with SIGTERM, as a logout does, and waits for
# its end. Exits with the program's exit code; 124 when no path showed within
# the time, 125 when the program ended before one did.
#
# Usage: startandend.sh SECONDS PATH... -- COMMAND [ARGUMENT...]
seconds=$1
shift
paths=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  paths="$paths
$1"
  shift
done
[ "$1" = "--" ] || { echo "usage: $0 SECONDS PATH... -- COMMAND..." >&2; exit 2; }
shift

shown() {
  echo "$paths" | while IFS= read -r path; do
    [ -n "$path" ] && [ -e "$path" ] && echo yes && break
  done
}

"$@" &
pid=$!
# The time is read from the clock: each look starts processes of its own,
# so counting looks would not bound it on a busy machine.
deadline=$(($(date +%s) + seconds))
while [ -z "$(shown)" ]; do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    echo "the program ended ($?) before it started" >&2
    exit 125
  fi
  if [ "$(date +%s)" -ge "$deadline" ]; then
    kill -KILL "$pid"
    wait "$pid"
    echo "the program did not start within $seconds seconds" >&2
    exit 124
  fi
  sleep 0.2
done
kill -TERM "$pid"
wait "$pid"
