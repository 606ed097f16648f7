#!/usr/bin/env bash
# Checks the release archive's contents ("contents"), or unpacks it into
# C:\Brightsweep of a fresh Wine prefix (in the build's scratch folder) and
# starts the program from there ("run").
#   check_package.sh contents ZIP
#   check_package.sh run ZIP PROBE_EXE TOOLS_DIR BUILD_DIR
set -uo pipefail
mode=$1 zip=$2
fail=0
bad() { echo "FAIL: $*"; fail=1; }

if [ "$mode" = contents ]; then
  listing=$(unzip -Z1 "$zip" | grep -v '/$')
  for want in Brightsweep.exe Keywatch.dll help/help.htm README.TXT; do
    grep -qx "$want" <<< "$listing" || bad "the archive holds no $want"
  done
  [ "$(wc -l <<< "$listing")" -eq 4 ] || bad "the archive holds more than the four files: $listing"
  unzip -p "$zip" README.TXT | grep -q $'\r$' || bad "README.TXT has no Windows line ends"
  for f in Brightsweep.exe Keywatch.dll; do
    # The machine field after the PE signature: 0x14c, i386.
    img=$(mktemp); unzip -p "$zip" "$f" > "$img"
    pe=$(od -An -tu4 -j60 -N4 "$img" | tr -d ' ')
    machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$img" | tr -d ' ')
    rm -f "$img"
    [ "$machine" = 014c ] || bad "$f is no i386 image (machine $machine)"
  done
  [ $fail -eq 0 ] && echo "the release archive holds the four files, 32-bit images and a README with Windows line ends"
  exit $fail
fi

probe=$3 tools=$4 build=$5
scratch=$build/scratch
work=$scratch/package
rm -rf "$work"
mkdir -p "$work/probe" "$work/scratch"
. "$tools/flavour"
flavour_wine "$build"

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
out=$(cd "$work" && timeout 120 "$WINE" "P:\\$(basename "$probe")" 'C:\Brightsweep' 2>&1)
rc=$?
echo "$out"
[ $rc -eq 0 ] || bad "the program from the archive did not start and end as it should (probe: $rc)"
"$WINESERVER" -k 2>/dev/null
"$WINESERVER" -w 2>/dev/null

[ $fail -eq 0 ] && echo "the release archive unpacks and runs in a fresh prefix"
exit $fail
