#!/usr/bin/env bash
# Unpacks the release archive into C:\Brightsweep of a fresh Wine prefix (in
# the build's scratch folder) and starts the program from there.
#   check_package.sh ZIP PROBE_EXE TOOLS_DIR BUILD_DIR
set -uo pipefail
zip=$1 probe=$2 tools=$3 build=$4
scratch=$build/scratch
work=$scratch/package
rm -rf "$work"
mkdir -p "$work/probe" "$work/scratch"
fail=0
bad() { echo "FAIL: $*"; fail=1; }

listing=$(unzip -Z1 "$zip")
for want in Brightsweep.exe Keywatch.dll help/help.htm README.TXT; do
  grep -qx "$want" <<< "$listing" || bad "the archive holds no $want"
done
unzip -p "$zip" README.TXT | grep -q $'\r$' || bad "README.TXT has no Windows line ends"

pfx=$work/prefix
cp "$probe" "$work/probe/"
"$tools/prefix" "$pfx" "$work/probe" "$work/scratch" >/dev/null
unzip -q "$zip" -d "$pfx/drive_c/Brightsweep" || bad "cannot unpack $zip"
if [ -z "${DISPLAY:-}" ]; then
  # The build's own display, as tools/wine-exec starts it outside tools/test.
  DISPLAY=$(cat "$build/wine/display" 2>/dev/null || true)
  xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 || DISPLAY=$("$tools/xvfb-start")
  export DISPLAY
fi
export WINEPREFIX=$pfx WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
out=$(cd "$work" && timeout 120 wine "P:\\$(basename "$probe")" 'C:\Brightsweep' 2>&1)
rc=$?
echo "$out"
[ $rc -eq 0 ] || bad "the program from the archive did not start and end as it should (probe: $rc)"
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null

[ $fail -eq 0 ] && echo "the release archive unpacks and runs in a fresh prefix"
exit $fail
