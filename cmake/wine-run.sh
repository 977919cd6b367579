#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a Windows program under wine for the build and its tests.
#
# All runs share one wine prefix and one wine server, which stays up for a
# minute after its last client so each test does not pay the start-up again.
# Wine's server and background processes outlive the program and inherit its
# standard streams; a test runner reading a pipe would wait for them. So the
# program writes to temporary files, copied to the real streams at its end.
WINEPREFIX="${WINEPREFIX:-${TMPDIR:-/tmp}/d88cut-wine-$(id -u)}"
WINEDEBUG=-all
export WINEPREFIX WINEDEBUG
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINE" ] || WINE=wine64
[ -x "$WINESERVER" ] || WINESERVER=wineserver

# `wine-run.sh --stop` ends the shared server and wine's background processes.
if [ "$1" = "--stop" ]; then
  "$WINESERVER" -k 2>/dev/null
  exit 0
fi

mkdir -p "$WINEPREFIX"
# Exits at once (status 2) when a server runs already.
setsid -w "$WINESERVER" -p60 </dev/null >/dev/null 2>&1

# `wine-run.sh --terminal PROGRAM ARGS` keeps the streams as they are, for a
# run on a terminal (wine then gives the program a console).
if [ "$1" = "--terminal" ]; then
  shift
  exec "$WINE" "$@"
fi

out=$(mktemp) && err=$(mktemp) || exit 125
# A run that fails without a byte on either stream never reached the program
# (every program here says why it fails): wine could not start it, which
# happens now and then while the shared server starts or ends. It is tried
# once more.
for attempt in 1 2; do
  "$WINE" "$@" </dev/null >"$out" 2>"$err"
  status=$?
  [ $status -eq 0 ] || [ -s "$out" ] || [ -s "$err" ] || [ $attempt -eq 2 ] || continue
  break
done
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
