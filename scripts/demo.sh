#!/usr/bin/env bash
# The demo: builds everything (installing what is missing), creates a device,
# starts it (its private bus and its SpringBoard, which loads the plug-in),
# runs scripts/demo-script.txt on it live and prints the trace: each script
# line, the plug-in's debug lines and the device's events, time-stamped. Then
# the plug-in's debug log, and the device is stopped. The trace and the
# panel's snapshots (phone light and dark from the live run, tablet from a dry
# run of scripts/demo-tablet.txt) are kept in build/demo/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
scripts/setup.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
tessra="$here/build/bin/tessra"
out="$here/build/demo"
rm -rf "$out"
mkdir -p "$out"
cp scripts/demo-script.txt scripts/demo-tablet.txt "$out/"
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
"$tessra" device run "$out/demo-script.txt" --root "$device" 2>&1 | tee "$out/trace.txt" || status=$?
echo
echo "== tessra device run scripts/demo-tablet.txt (a dry run on a fresh tablet)"
"$tessra" device run "$out/demo-tablet.txt" 2>&1 | tee "$out/trace-tablet.txt" || status=$?
echo
echo "== tessra device log (the plug-in's debug log)"
"$tessra" device log "$device"
echo
echo "== tessra device stop"
"$tessra" device stop "$device"
echo
echo "== the trace and the panel's snapshots are in $out:"
ls "$out"
exit $status
