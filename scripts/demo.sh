#!/usr/bin/env bash
# The demo: builds everything (installing what is missing), creates a device
# root, customizes a few apps and shows what the `tessra` command reports.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
scripts/setup.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
tessra=build/bin/tessra
root=$(mktemp -d /tmp/tessra-demo.XXXXXX)
trap 'rm -rf "$root"' EXIT

if [ -f scripts/demo-script.txt ] && $tessra device create "$root/device" >/dev/null 2>&1; then
  $tessra device start "$root/device"
  trap '$tessra device stop "$root/device" >/dev/null 2>&1 || true; rm -rf "$root"' EXIT
  $tessra device run scripts/demo-script.txt --root "$root/device"
  exit 0
fi

mkdir -p "$root/device"
echo "== A device root in $root/device; customizing two apps"
$tessra import scripts/demo-apps.plist --root "$root/device"
$tessra set restorePreviousWifiOnAppExit off --root "$root/device"
echo
echo "== tessra apps"
$tessra apps --root "$root/device"
echo
echo "== tessra settings"
$tessra settings --root "$root/device"
