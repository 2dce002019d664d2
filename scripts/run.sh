#!/usr/bin/env bash
# Builds Wendrel and starts it under Wine in a 1024x768 virtual desktop with a taskbar.
# With $DISPLAY set it runs there until Wendrel ends; without one it runs in a private Xvfb,
# saves a screenshot after the strip has appeared, prints the screenshot's path and stops.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$("$root/scripts/build-exe.sh")

export WINEDEBUG=-all WINEARCH=win64
export WINEPREFIX=${WENDREL_WINEPREFIX:-/tmp/wendrel-wine-$(id -u)/prefix}
home="${WENDREL_RUN_DIR:-/tmp/wendrel-run-$(id -u)}"
mkdir -p "$home" "$(dirname "$WINEPREFIX")"
cp "$exe" "$home/wendrel.exe"
cp "$(dirname "$exe")/WENDREL.HTM" "$home/"

if [ -n "${DISPLAY:-}" ]; then
  if [ ! -f "$WINEPREFIX/.wendrel-ready-2" ]; then
    echo "Making the Wine prefix $WINEPREFIX (once)..." >&2
    wineboot --init >/dev/null 2>&1
    wineserver -w
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.wendrel-ready-2"
  fi
  cd "$home"
  exec wine explorer /desktop=shell,1024x768 "$home/wendrel.exe"
fi

# Headless: the Wine tests' harness gives a private Xvfb and desktop; the first start's
# question about the missing options file is answered, then the picture is taken.
WENDREL_EXE="$home/wendrel.exe"
. "$root/tests/wine/lib.sh"
trap wine_session_end EXIT
wine_session_start "$home/session"
folder=$(new_folder run)
[ -f "$home/WENDREL.HTM" ] && cp "$home/WENDREL.HTM" "$folder/"
start_wendrel "$folder" || die "Wendrel did not start"
wt answer WENDREL 1 "$WAIT" >/dev/null || true
wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || die "the strip did not appear"
wt wait-window WendrelOptions "$PID" 5 >/dev/null || true
screenshot wendrel-screenshot
wt kill "$PID"
echo "$ARTEFACTS/wendrel-screenshot.png"
