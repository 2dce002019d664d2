# Shared harness of the Wine tests: one Xvfb, one Wine prefix with a virtual desktop, the
# test tool, and helpers that start Wendrel in a fresh folder and look at its windows.
# Everything started here is recorded by process id and stopped by wine_session_end.

WINE_TESTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WAIT=${WENDREL_WAIT:-60}  # seconds any single condition may take before a test fails
# The shell the programs meet: "wine", Wine's own, whose window collection lists no windows and
# raises no events, so that Wendrel looks for browser windows itself; or "standin", the stand-in
# shell of standin/ registered in the prefix, which serves the collection, its events and the
# browsers' automation (Wendrel's shell path).
SHELL_MODE=${WENDREL_WINE_SHELL:-wine}
case "$SHELL_MODE" in
  wine | standin) ;;
  *)
    printf 'FATAL: WENDREL_WINE_SHELL must be "wine" or "standin", not "%s"\n' "$SHELL_MODE" >&2
    exit 1
    ;;
esac

log() { printf '%s\n' "$*" >&2; }
die() {
  log "FATAL: $*"
  exit 1
}

# Runs the test tool inside the Wine desktop; Windows line ends are dropped.
wt() {
  local out rc
  out=$(wine "$WTOOL" "$@" 2>/dev/null </dev/null)
  rc=$?
  out=${out//$'\r'/}
  [ -n "$out" ] && printf '%s\n' "$out"
  return $rc
}

# A Windows path for a path of this machine (Wine's drive Z: is the root).
winpath() { printf 'Z:%s' "$(readlink -f "$1" | tr '/' '\\')"; }

free_display() {
  local n
  for n in $(seq 91 160); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

# Waits until the command succeeds, for at most $1 seconds.
wait_until() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.2
  done
}

make_prefix() {
  if [ -f "$WINEPREFIX/.wendrel-ready-2" ]; then return 0; fi
  log "Making the Wine prefix $WINEPREFIX (once)..."
  rm -rf "${WINEPREFIX:?}"
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || die "wineboot failed"
  wineserver -w
  # Every program of the prefix runs in one virtual desktop; the desktop named "shell" has a
  # taskbar and a tray.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.wendrel-ready-2"
}

# use_shell <wine|standin>: registers the stand-in shell as the in-process server of the shell's
# window collection and of "InternetExplorer.Application", or gives the collection back to
# Wine's ieframe.dll. Wine 8 loads such a server for these classes only from HKLM (README.md).
use_shell() {
  local dir="${WINEPREFIX:?}/drive_c/standin" reg="$WORK/shell.reg"
  local windows='HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\InprocServer32'
  local browser='HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{0002DF01-0000-0000-C000-000000000046}\InprocServer32'
  SHELL_LOG="$dir/standin.log"
  if [ "$1" = standin ]; then
    x86_64-w64-mingw32-g++ -O1 -shared -static -o "$WORK/standin.dll" "$WINE_TESTS_DIR/standin/shell.cpp" \
      "$WINE_TESTS_DIR/standin/standin.def" -lole32 -loleaut32 -luuid -luser32 ||
      die "the stand-in shell does not build"
    mkdir -p "$dir"
    # The shell starts its browsers with the test tool beside it, and logs beside it.
    cp "$WORK/standin.dll" "$WTOOL" "$dir/"
    : >"$SHELL_LOG"
  else
    rm -rf "$dir"
  fi
  # A new prefix has Wine's own shell.
  [ "$(cat "$WINEPREFIX/.wendrel-shell" 2>/dev/null || echo wine)" = "$1" ] && return 0
  {
    printf 'REGEDIT4\r\n\r\n'
    if [ "$1" = standin ]; then
      printf '[%s]\r\n@="C:\\\\standin\\\\standin.dll"\r\n"ThreadingModel"="Apartment"\r\n\r\n' "$windows"
      printf '[%s]\r\n@="C:\\\\standin\\\\standin.dll"\r\n"ThreadingModel"="Apartment"\r\n' "$browser"
    else
      printf '[%s]\r\n@="C:\\\\windows\\\\system32\\\\ieframe.dll"\r\n"ThreadingModel"="Apartment"\r\n\r\n' "$windows"
      printf '[-%s]\r\n' "$browser"
    fi
  } >"$reg"
  wine regedit /S "$(winpath "$reg")" >/dev/null 2>&1 || die "the shell cannot be registered"
  # The registry reaches the disk when the prefix's server ends.
  wineserver -w
  echo "$1" >"$WINEPREFIX/.wendrel-shell"
}
in_standin_mode() { [ "$SHELL_MODE" = standin ]; }

# wine_session_start <artefact-dir>
wine_session_start() {
  # The session's scratch folder is emptied below: refuse a missing or root artefact folder, so
  # that a mistyped call can never remove anything but the tests' own files.
  [ -n "${1:-}" ] || die "wine_session_start needs an artefact folder"
  mkdir -p "$1"
  ARTEFACTS=$(readlink -f "$1")
  case "$ARTEFACTS" in "" | /) die "refusing artefact folder '$1'" ;; esac
  WORK="$ARTEFACTS/work"
  rm -rf "${WORK:?}"
  mkdir -p "$WORK"
  command -v wine >/dev/null || die "wine is not installed"
  command -v Xvfb >/dev/null || die "Xvfb is not installed"
  command -v x86_64-w64-mingw32-g++ >/dev/null || die "the MinGW compiler is not installed"

  export WINEDEBUG=-all WINEARCH=win64
  export WINEPREFIX=${WENDREL_WINEPREFIX:-/tmp/wendrel-wine-$(id -u)/prefix}
  mkdir -p "$(dirname "$WINEPREFIX")"
  # One session at a time per prefix: its wineserver and desktop are shared, and the session's
  # end stops everything in it.
  exec 9>"$WINEPREFIX.lock"
  flock -w 1200 9 || die "another Wine test session holds $WINEPREFIX"

  local display
  display=$(free_display) || die "no free X display"
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$display"
  wait_until "$WAIT" xdpyinfo -display "$DISPLAY" || die "Xvfb did not start on $DISPLAY"

  WTOOL="$WORK/wtool.exe"
  x86_64-w64-mingw32-g++ -O1 -static -o "$WTOOL" "$WINE_TESTS_DIR/tools/wtool.cpp" -lcomctl32 -lshell32 -loleacc -lole32 -loleaut32 -luuid -lgdi32 -luser32 ||
    die "the test tool does not build"

  make_prefix
  use_shell "$SHELL_MODE"
  wine explorer /desktop=shell,1024x768 "$WTOOL" keep >/dev/null 2>&1 &
  KEEPER_PID=$!
  # The program under test must find the taskbar's work area, not the whole screen.
  wt wait-workarea 748 "$WAIT" >/dev/null || die "Wine's virtual desktop did not start (no taskbar work area)"
}

wine_session_end() {
  # Also runs under "set -e" callers: no step may stop the ones after it.
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "${KEEPER_PID:-}" ]; then kill "$KEEPER_PID" 2>/dev/null || true; fi
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
  if [ -n "${KEEPER_PID:-}" ]; then wait "$KEEPER_PID" 2>/dev/null || true; fi
  if [ -n "${XVFB_PID:-}" ]; then wait "$XVFB_PID" 2>/dev/null || true; fi
  return 0
}

# The options file with every default but the dialog at start, so Wendrel starts quietly.
QUIET_OPTIONS='"DEFAULT","**UNKNOWN**",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#TRUE#,#FALSE#,8'
OPTIONS_HEADER='"Default Group Default Name MultiLine ConfirmGroup LeaveOnExit SaveOnExit ShowWarnings StartGroup CaptionWidth"'

# new_folder <name> [options-line]: a fresh folder holding wendrel.exe (and an options file).
new_folder() {
  [ -n "${WORK:-}" ] && [ -n "${1:-}" ] || die "new_folder needs a session and a name"
  local folder="$WORK/$1"
  rm -rf "${folder:?}"
  mkdir -p "$folder"
  cp "$WENDREL_EXE" "$folder/wendrel.exe"
  if [ $# -ge 2 ]; then printf '%s\r\n%s\r\n' "$2" "$OPTIONS_HEADER" >"$folder/Wendrel.CFG"; fi
  echo "$folder"
}

# start_wendrel <folder>: sets PID to the new process's Windows process id.
start_wendrel() {
  local out
  # The started program inherits the tool's output: a file, not a pipe that would stay open.
  wine "$WTOOL" start "$(winpath "$1/wendrel.exe")" "$(winpath "$1")" >"$WORK/start.out" 2>/dev/null </dev/null
  out=$(tr -d '\r' <"$WORK/start.out")
  case "$out" in
    pid=*)
      PID=${out#pid=}
      STARTED_PIDS+=("$PID")
      ;;
    *) return 1 ;;
  esac
}
STARTED_PIDS=()

# Ends every Wendrel this test started that is still running.
stop_wendrels() {
  local pid
  for pid in "${STARTED_PIDS[@]}"; do wt kill "$pid"; done
  STARTED_PIDS=()
}

# field <line> <name>: the value of name=value in a line of the test tool.
field() { sed -n "s/.*\b$2=\([^ ]*\).*/\1/p" <<<"$1" | head -n1; }

screenshot() { import -display "$DISPLAY" -window root "$ARTEFACTS/$1.png" 2>/dev/null; }

# Test bookkeeping: check <description> <command...> records a failed expectation.
FAILURES=()
check() {
  local what=$1
  shift
  if "$@"; then return 0; fi
  FAILURES+=("$what")
  log "  expectation failed: $what"
  return 1
}
equals() {
  [ "$1" = "$2" ] && return 0
  log "    got:      '$1'"
  log "    expected: '$2'"
  return 1
}
quietly() { "$@" >/dev/null; }

# open_frame <class> <title> <url> [exstyle]: a stand-in browser window, waited for until
# visible; its extended style is the application-window style unless given.
FRAME_PIDS=()
open_frame() {
  wine "$WTOOL" frame "$1" "$2" "$3" ${4:+"$4"} >/dev/null 2>&1 </dev/null &
  FRAME_PIDS+=($!)
  wt wait-window "$1" 0 "$WAIT" "$2" >/dev/null
}
# open_frames <class> <count> <name> [first-late]: a burst of stand-in browser windows from one
# process, "<name> 1" at http://www.<name>1.org/ and so on, all made at once (the first one
# brought forward last when asked).
open_frames() {
  wine "$WTOOL" frames "$1" "$2" "$3" ${4:+"$4"} >/dev/null 2>&1 </dev/null &
  FRAME_PIDS+=($!)
}
close_frames() {
  local pid
  for pid in "${FRAME_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${FRAME_PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  FRAME_PIDS=()
}

# tab_count_is <n>: the strip shows n tabs.
tab_count_is() { [ "$(wt tabs | head -n1 | cut -d' ' -f1)" = "count=$1" ]; }
# The captions of the strip's tabs, comma-separated.
tab_captions() { wt tabs | sed -n 's/^tab=.* caption=//p' | paste -sd, -; }
selected_tab() { wt tabs | head -n1 | sed -n 's/.*selected=\([0-9-]*\).*/\1/p'; }
foreground_title_is() { [ "$(wt foreground | sed -n 's/.* title=//p')" = "$1" ]; }

# The tray icon: Wine draws the first icon in the taskbar's last 20 x 20 pixels.
TRAY_X=1014
TRAY_Y=758
tray_click() { xdotool mousemove "$TRAY_X" "$TRAY_Y" click "$1"; }
# The mean brightness of the tray icon's place, and of an empty place of the taskbar.
tray_spot() { import -display "$DISPLAY" -window root -crop 16x16+1006+750 -format '%[fx:mean]' info: 2>/dev/null; }
empty_spot() { import -display "$DISPLAY" -window root -crop 16x16+900+750 -format '%[fx:mean]' info: 2>/dev/null; }
tray_icon_shown() { [ "$(tray_spot)" != "$(empty_spot)" ]; }
tray_icon_gone() { [ "$(tray_spot)" = "$(empty_spot)" ]; }

# Opens the popup menu from the tray icon and waits until it shows.
open_tray_menu() {
  tray_click 3
  wt wait-window '#32768' 0 "$WAIT" >/dev/null
}
# Closes the open popup menu by a click beside it (the keyboard may not reach it, below) and
# waits until it has gone.
close_menu() {
  xdotool mousemove 700 100 click 1
  wt wait-gone '#32768' "$WAIT"
}
# Presses keys in the open menu, given as xdotool key names. Under Wine the menu only hears
# the keyboard when no other program's window was activated just before it opened.
menu_keys() { xdotool key --delay 60 "$@"; }

# menu_click <item>: clicks an item of the open popup menu. Items are 16 pixels high and
# separators 9, below a 3-pixel border, in the menu's fixed order.
menu_click() {
  local line top left offset
  line=$(wt list '#32768' | grep 'visible=1' | head -n1)
  top=$(field "$line" y)
  left=$(field "$line" x)
  case "$1" in
    about) offset=11 ;;
    info) offset=27 ;;
    options) offset=52 ;;
    open) offset=77 ;;
    save) offset=93 ;;
    closeall) offset=118 ;;
    close) offset=143 ;;
    active) offset=168 ;;
    *) return 1 ;;
  esac
  xdotool mousemove $((left + 40)) $((top + offset)) click 1
}

# submenu_click <item>: clicks an item of the open "Active Tab" submenu: the second menu shown,
# which lies above the first.
submenu_click() {
  local line offset
  wait_until "$WAIT" eval '[ "$(wt list "#32768" | grep -c "visible=1")" -ge 2 ]' || return 1
  line=$(wt list '#32768' | grep 'visible=1' | head -n1)
  case "$1" in
    add) offset=11 ;;
    shortname) offset=27 ;;
    refresh) offset=43 ;;
    stop) offset=59 ;;
    close) offset=75 ;;
    *) return 1 ;;
  esac
  xdotool mousemove $(($(field "$line" x) + 40)) $(($(field "$line" y) + offset)) click 1
}

# Ends every browser window's program left open (Wine's iexplore, the stand-in frames).
close_browsers() {
  local pid
  for pid in $(wt list IEFrame | sed -n 's/.* pid=\([0-9]*\).*/\1/p' | sort -u); do wt kill "$pid"; done
}

# The extended style a program gave a window, from a line of the test tool: the system adds
# WS_EX_WINDOWEDGE (0x100) by itself to any window with a sizing frame.
exstyle_of() {
  local style
  style=$(field "$1" exstyle)
  [ -n "$style" ] || {
    echo none
    return
  }
  printf '0x%x\n' $((style & ~0x100))
}

DIALOG="Options & More"
# click_control <window-title> <text>: a real mouse click on the visible control with the text.
click_control() {
  local line candidate
  line=""
  while IFS= read -r candidate; do
    if [ "${candidate#* text=}" = "$2" ]; then
      line=$candidate
      break
    fi
  done < <(wt controls "$1")
  [ -n "$line" ] || {
    log "    no visible control '$2' in '$1'"
    return 1
  }
  xdotool mousemove $(($(field "$line" x) + $(field "$line" w) / 2)) $(($(field "$line" y) + $(field "$line" h) / 2)) click 1
}
# click_tab <window-title> <caption>: clicks a tab of the window's tab control.
click_tab() {
  local line
  line=$(wt tabs "$1" | grep -F "caption=$2" | head -n1)
  [ -n "$line" ] || return 1
  xdotool mousemove $(($(field "$line" x) + $(field "$line" w) / 2)) $(($(field "$line" y) + $(field "$line" h) / 2)) click 1
}
# click_strip_tab <n> [button]: clicks tab n of the strip (the left button unless told).
click_strip_tab() {
  local line
  line=$(wt tabs | grep "^tab=$1 ")
  [ -n "$line" ] || return 1
  xdotool mousemove $(($(field "$line" x) + $(field "$line" w) / 2)) $(($(field "$line" y) + $(field "$line" h) / 2)) click "${2:-1}"
}
# drag_off_tab <window-title|""> <caption>: presses a tab of the window's tab control (the
# strip's when no title), leaves the control with the button held and lets go elsewhere.
drag_off_tab() {
  local line
  line=$(wt tabs ${1:+"$1"} | grep -F "caption=$2" | head -n1)
  [ -n "$line" ] || return 1
  xdotool mousemove $(($(field "$line" x) + $(field "$line" w) / 2)) $(($(field "$line" y) + $(field "$line" h) / 2)) \
    mousedown 1 mousemove 900 200 mouseup 1
}
# click_row <window-title> <columns> <row>: clicks a row (0 is the first below the header) of
# the window's list view with that many columns (tabs 6, groups 1, group lines 3).
click_row() {
  local line
  line=$(wt listview "$1" "$2" | grep "^row=$3 ")
  [ -n "$line" ] || return 1
  xdotool mousemove $(($(field "$line" x) + 12)) $(($(field "$line" y) + $(field "$line" h) / 2)) click 1
}
# The rows of a list view as "cell|cell|...", one a line.
list_rows() { wt listview "$1" "$2" | sed -n 's/^row=[0-9]* .* text=//p'; }
control_shown() { wt controls "$1" | grep -qF "text=$2"; }

# The Linux process that runs the wendrel.exe of a folder: its command line starts with the
# program's Windows path.
linux_pid_of() {
  local want proc first
  want=$(winpath "$1/wendrel.exe")
  for proc in /proc/[0-9]*; do
    first=$(tr '\0' '\n' 2>/dev/null <"$proc/cmdline" | head -n1)
    if [ "$first" = "$want" ]; then
      echo "${proc#/proc/}"
      return 0
    fi
  done
  return 1
}
# The clock ticks (user and system, all threads) a Linux process has used so far.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# hwnd_of <title>: the handle of the browser window with the title.
hwnd_of() { field "$(wt list IEFrame | grep -F "title=$1" | head -n1)" hwnd; }
# The stand-in shell's log without the events it raised: the calls it received.
shell_calls() { grep -v '^raise ' "$SHELL_LOG"; }
# How many times the collection was walked: once per reconciliation pass.
enumerations() { grep -c '^_NewEnum ' "$SHELL_LOG"; }

# settled <pid>: true once the process's count of threads has held for 6 s. Wine's thread pool lets
# a worker go 5 s after its last job (calls into a browser use the pool), and a thread's end costs
# CPU of its own: idling is what follows.
settled() {
  local count now held=0 waited=0
  count=$(ls "/proc/$1/task" | wc -l)
  while [ "$held" -lt 12 ] && [ "$waited" -lt $((WAIT * 2)) ]; do
    sleep 0.5
    now=$(ls "/proc/$1/task" 2>/dev/null | wc -l)
    if [ "$now" = "$count" ]; then held=$((held + 1)); else count=$now held=0; fi
    waited=$((waited + 1))
  done
  [ "$held" -ge 12 ]
}

# idle_ticks <folder>: the CPU ticks the Wendrel of that folder uses over 20 s with the pointer
# off the strip (no tip shown); nothing when its process cannot be found or does not settle.
idle_ticks() {
  local linux before
  xdotool mousemove 512 300
  linux=$(linux_pid_of "$1")
  [ -n "$linux" ] || return 1
  settled "$linux" || return 1
  before=$(cpu_ticks "$linux")
  sleep 20 # the span measured, not a wait for a condition
  echo $(($(cpu_ticks "$linux") - before))
}

# wendrel_with_one_tab <name>: Wendrel in a fresh folder ($FOLDER) with one browser window's tab
# and its tray icon.
wendrel_with_one_tab() {
  FOLDER=$(new_folder "$1" "$QUIET_OPTIONS")
  start_wendrel "$FOLDER" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  wait_until "$WAIT" tab_count_is 1 || return 1
  wait_until "$WAIT" tray_icon_shown
}
