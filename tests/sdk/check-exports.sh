#!/usr/bin/env bash
# The shared library exports only CalvoxAPI_ names and links no Qt. Usage: check-exports.sh <libCalvoxSDK.so>
set -euo pipefail
lib="$1"
names=$(nm -D --defined-only "$lib" | awk '{print $NF}')
[ -n "$names" ] || { echo "no exports at all"; exit 1; }
others=$(echo "$names" | grep -v '^CalvoxAPI_' || true)
if [ -n "$others" ]; then
  echo "exported names without the CalvoxAPI_ prefix:"; echo "$others"; exit 1
fi
if ldd "$lib" | grep -qi 'libQt'; then
  echo "the SDK links Qt:"; ldd "$lib"; exit 1
fi
echo "$(echo "$names" | wc -l) CalvoxAPI_ exports, no Qt"
