#!/bin/sh
# two_heads.sh XEPHYR COMMAND...: runs COMMAND in a nested X server of two
# 1280 x 1024 monitors side by side, as Xinerama reports them, itself a
# client of $DISPLAY's. The nested server takes the first display number
# free and tells which once it accepts clients, so that suites started
# together never share one.
set -eu
xephyr=$1
shift
number=$( { "$xephyr" -displayfd 3 +xinerama -screen 1280x1024 -screen 1280x1024 -nolisten tcp -noreset \
            3>&1 >/dev/null 2>&1 & } | head -n 1)
DISPLAY=:$number exec "$@"
