#!/usr/bin/env bash
# End to end as scripts/run does it: the emulator program with one recorder, then the SDK example for its ID.
# Usage: run-example.sh <recorder-emulator> <calvox-example>
set -u
emu="$1"
example="$2"
id="6B000000000000000002"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$emu" --bind 127.0.0.1 --port 0 --id "$id" >"$log" 2>&1 &
pid=$!
for _ in $(seq 100); do grep -q "^recorder " "$log" && break; sleep 0.05; done
if ! grep -q "^recorder $id (16 channels) on 127.0.0.1:[1-9]" "$log"; then
  echo "emulator did not start:"; cat "$log"; kill $pid 2>/dev/null; exit 1
fi
out=$("$example" "$id")
rc=$?
echo "$out"
kill -TERM $pid
wait $pid
emu_rc=$?
[ $rc -eq 0 ] || { echo "example failed with $rc"; exit 1; }
[ $emu_rc -eq 0 ] || { echo "emulator ended with $emu_rc"; exit 1; }
echo "$out" | grep -q "^device $id: model KES2216H, 16 channels, playback yes$" || { echo "unexpected output"; exit 1; }
"$example" E0000 >/dev/null 2>&1 && { echo "an invalid ID must fail"; exit 1; }
exit 0
