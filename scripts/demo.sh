#!/usr/bin/env bash
# The demo: builds everything (installing what is missing), creates a device,
# starts it (its private bus and its SpringBoard, which loads the plug-in),
# runs scripts/demo-script.txt on it live and prints the trace: each script
# line, the plug-in's debug lines and the device's events, time-stamped. Then
# the plug-in's debug log, and the device is stopped.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
scripts/setup.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
tessra="$here/build/bin/tessra"
work=$(mktemp -d /tmp/tessra-demo.XXXXXX)
device="$work/device"
cleanup() {
  "$tessra" device stop "$device" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "== tessra device create $device"
"$tessra" device create "$device"
echo
echo "== tessra device start"
"$tessra" device start "$device"
echo
echo "== tessra device run scripts/demo-script.txt --root $device"
status=0
"$tessra" device run scripts/demo-script.txt --root "$device" || status=$?
echo
echo "== tessra device log (the plug-in's debug log)"
"$tessra" device log "$device"
echo
echo "== tessra device stop"
"$tessra" device stop "$device"
exit $status
