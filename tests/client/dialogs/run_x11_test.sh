#!/usr/bin/env bash
# Runs a test program on a private Xvfb display (1280 x 1024, -noreset so that properties set on the root
# window stay when their client exits). Exits 77 (skipped) when Xvfb or the X utilities the tests call (xprop,
# xwininfo: x11-utils) are not installed.
#   run_x11_test.sh <test program> [arguments...]
set -u
for tool in Xvfb xprop xwininfo; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
done
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$fifo"' EXIT
read -r number <"$fifo" || { echo "Xvfb did not start: skipped"; exit 77; }
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
"$@"
