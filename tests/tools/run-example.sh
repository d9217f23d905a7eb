#!/usr/bin/env bash
# End to end as scripts/run does it: the emulator program with one recorder serving a storage folder, then the
# SDK example for its ID: login, base settings, heartbeat events, the download of the recorder's log file.
# Usage: run-example.sh <recorder-emulator> <calvox-example>
set -u
emu="$1"
example="$2"
id="6B000000000000000002"
log=$(mktemp)
storage=$(mktemp -d)
trap 'rm -rf "$log" "$storage"' EXIT
mkdir -p "$storage/RecordFiles"
printf 'line one\r\nline two\r\n' >"$storage/RecordFiles/Log.txt"
"$emu" --bind 127.0.0.1 --port 0 --id "$id" --storage "$storage" >"$log" 2>&1 &
pid=$!
for _ in $(seq 100); do grep -q "^recorder " "$log" && break; sleep 0.05; done
if ! grep -q "^recorder $id (16 channels) on 127.0.0.1:[1-9]" "$log"; then
  echo "emulator did not start:"; cat "$log"; kill $pid 2>/dev/null; exit 1
fi
port=$(sed -n "s/^recorder $id (16 channels) on 127.0.0.1:\([0-9]*\)$/\1/p" "$log")
out=$("$example" "$id" "127.0.0.1:$port")
rc=$?
echo "$out"
wrong=$("$example" "$id" "127.0.0.1:$port" admin not-the-password 2>&1)
wrong_rc=$?
kill -TERM $pid
wait $pid
emu_rc=$?
[ $rc -eq 0 ] || { echo "example failed with $rc"; exit 1; }
[ $emu_rc -eq 0 ] || { echo "emulator ended with $emu_rc"; exit 1; }
expect() { echo "$out" | grep -q "$1" || { echo "missing in the output: $1"; exit 1; }; }
expect "^device $id: model KES2216H, 16 channels, playback yes$"
expect "^logged in to 127.0.0.1:$port as admin: firmware "
expect "^base settings (64 bytes):"
expect "^  event ConnectStatus: online$"
expect "^downloaded /RecordFiles/Log.txt: 20 of 20 bytes, beginning \"line one..line two..\"$"
expect "^done$"
[ $wrong_rc -ne 0 ] || { echo "a wrong password must fail"; echo "$wrong"; exit 1; }
echo "$wrong" | grep -q "login (wrong user name or password) failed with 101" || { echo "$wrong"; exit 1; }
"$example" E0000 >/dev/null 2>&1 && { echo "an invalid ID must fail"; exit 1; }
exit 0
