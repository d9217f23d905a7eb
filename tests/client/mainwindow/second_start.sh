#!/usr/bin/env bash
# The program as started twice by one user: the second start finds the first, exits 0 and leaves it running;
# SIGTERM then ends the first through its Exit path (the column layout file is written) with status 0.
#   second_start.sh <CalvoxClient>
set -u
client=$1
dir=$(mktemp -d)
trap '[ -n "${first:-}" ] && kill -KILL "$first" 2>/dev/null; rm -rf "$dir"' EXIT
mkdir -m 700 "$dir/runtime"
export XDG_DATA_HOME="$dir/data" XDG_RUNTIME_DIR="$dir/runtime" QT_QPA_PLATFORM=offscreen

"$client" 2>"$dir/first.log" &
first=$!
for _ in $(seq 200); do [ -S "$dir/runtime/CalvoxClient" ] && break; sleep 0.05; done
[ -S "$dir/runtime/CalvoxClient" ] || { echo "the first start does not listen"; cat "$dir/first.log"; exit 1; }

timeout 20 "$client" 2>"$dir/second.log"
rc=$?
[ "$rc" -eq 0 ] || { echo "second start ended with $rc"; cat "$dir/second.log"; exit 1; }
kill -0 "$first" 2>/dev/null || { echo "the first start ended"; exit 1; }
[ -e "$dir/data/CalvoxClient/GridListSetting" ] && { echo "layout written before Exit"; exit 1; }

kill -TERM "$first"
for _ in $(seq 200); do kill -0 "$first" 2>/dev/null || break; sleep 0.05; done
wait "$first"
rc=$?
first=""
[ "$rc" -eq 0 ] || { echo "the first start ended with $rc after SIGTERM"; cat "$dir/first.log"; exit 1; }
grep -q '"ContactsColumns"' "$dir/data/CalvoxClient/GridListSetting" || { echo "no layout file after SIGTERM"; exit 1; }
echo "second start: exit 0; first: ended by SIGTERM through Exit"
