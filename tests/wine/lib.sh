# Shared harness of the Wine tests: one Xvfb, one Wine prefix with a virtual desktop, the test
# tool, and helpers that start Wendrel in a fresh folder, look at its windows and drive them.
# Everything started here is recorded by process id and stopped by wine_session_end.

WINE_TESTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WAIT=${WENDREL_WAIT:-60} # seconds any single condition may take before a test fails
# The shell the programs meet (README.md): "wine" or "standin".
SHELL_MODE=${WENDREL_WINE_SHELL:-wine}
case "$SHELL_MODE" in wine | standin) ;; *) echo "FATAL: WENDREL_WINE_SHELL must be wine or standin" >&2 && exit 1 ;; esac

log() { printf '%s\n' "$*" >&2; }
die() { log "FATAL: $*" && exit 1; }

# Runs the test tool inside the Wine desktop, with its exit code; Windows line ends are dropped.
wt() {
  wine "$WTOOL" "$@" 2>/dev/null </dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}
# A Windows path for a path of this machine (Wine's drive Z: is the root).
winpath() { printf 'Z:%s' "$(readlink -f "$1" | tr '/' '\\')"; }

# wait_until <seconds> <command...>: waits until the command succeeds, for at most that long.
wait_until() {
  local end=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.2
  done
}
waits() { wait_until "$WAIT" eval "$1"; } # waits <shell condition>

# use_shell: on the stand-in shell, builds it and registers it as the in-process server of the
# shell's window collection and of "InternetExplorer.Application" (Wine 8 loads such a server
# for these classes only from HKLM: README.md). A prefix keeps the shell it was first given.
use_shell() {
  local dir="${WINEPREFIX:?}/drive_c/standin" class given
  SHELL_LOG="$dir/standin.log"
  rm -rf "${dir:?}"
  mkdir -p "$dir" # on Wine's shell the log stays empty
  given=$(cat "$WINEPREFIX/.wendrel-shell" 2>/dev/null || echo wine)
  [ "$SHELL_MODE" = wine ] && { [ "$given" = wine ] || die "the prefix has the stand-in shell"; } && return 0
  # The shell starts its browsers with the test tool beside it, and logs beside it.
  x86_64-w64-mingw32-g++ -O1 -shared -static -o "$dir/standin.dll" "$WINE_TESTS_DIR/standin/shell.cpp" \
    "$WINE_TESTS_DIR/standin/standin.def" -lole32 -loleaut32 -luuid -luser32 || die "the stand-in does not build"
  cp "$WTOOL" "$dir/"
  [ "$given" = standin ] && return 0
  {
    printf 'REGEDIT4\r\n'
    for class in 9BA05972-F6A8-11CF-A442-00A0C90A8F39 0002DF01-0000-0000-C000-000000000046; do
      printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{%s}\\InprocServer32]\r\n' "$class"
      printf '@="C:\\\\standin\\\\standin.dll"\r\n"ThreadingModel"="Apartment"\r\n'
    done
  } >"$WORK/shell.reg"
  wine regedit /S "$(winpath "$WORK/shell.reg")" >/dev/null 2>&1 || die "the shell cannot be registered"
  wineserver -w # the registry reaches the disk when the prefix's server ends
  echo standin >"$WINEPREFIX/.wendrel-shell"
}
# How many times the collection was walked: once per reconciliation pass.
enumerations() { grep -c '^_NewEnum ' "$SHELL_LOG"; }
empty_shell_log() { : >"$SHELL_LOG"; }

# start_desktop: the virtual desktop, kept open by the test tool, once its taskbar has its place.
start_desktop() {
  wine explorer /desktop=shell,1024x768 "$WTOOL" keep >/dev/null 2>&1 &
  KEEPER_PID=$!
  waits '[ "$(wt workarea | cut -d" " -f4)" -lt 768 ]'
}

# wine_session_start <artefact-dir>
wine_session_start() {
  # The scratch folder inside is emptied: refuse a missing or root artefact folder.
  [ -n "${1:-}" ] || die "wine_session_start needs an artefact folder"
  mkdir -p "$1"
  ARTEFACTS=$(readlink -f "$1")
  case "$ARTEFACTS" in "" | /) die "refusing artefact folder '$1'" ;; esac
  WORK="$ARTEFACTS/work"
  rm -rf "${WORK:?}"
  mkdir -p "$WORK"
  local tool n
  for tool in wine Xvfb x86_64-w64-mingw32-g++; do command -v $tool >/dev/null || die "$tool is not installed"; done
  export WINEDEBUG=-all WINEARCH=win64
  export WINEPREFIX=${WENDREL_WINEPREFIX:-/tmp/wendrel-wine-$(id -u)/$SHELL_MODE}
  mkdir -p "$(dirname "$WINEPREFIX")"
  # One session at a time per prefix: its wineserver and desktop are shared.
  exec 9>"$WINEPREFIX.lock"
  flock -w 1200 9 || die "another Wine test session holds $WINEPREFIX"
  for n in $(seq 91 160); do [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break; done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  wait_until "$WAIT" xdpyinfo -display "$DISPLAY" || die "Xvfb did not start on $DISPLAY"
  WTOOL="$WORK/wtool.exe"
  x86_64-w64-mingw32-g++ -O1 -static -o "$WTOOL" "$WINE_TESTS_DIR/tools/wtool.cpp" -lcomctl32 -lshell32 -loleacc \
    -lole32 -loleaut32 -luuid -lgdi32 -luser32 || die "the test tool does not build"
  if [ ! -f "$WINEPREFIX/.wendrel-ready-2" ]; then
    log "Making the Wine prefix $WINEPREFIX (once)..."
    rm -rf "${WINEPREFIX:?}"
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || die "wineboot failed"
    # Every program of the prefix runs in one virtual desktop, "shell", with a taskbar and a tray.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.wendrel-ready-2"
  fi
  use_shell
  # The program under test must find the taskbar's work area, not the whole screen.
  start_desktop && [ "$(wt workarea)" = "0 0 1024 748" ] || die "Wine's virtual desktop did not start"
}

wine_session_end() {
  # Also runs under "set -e" callers: no step may stop the ones after it.
  # The server is waited for: a program started while it is still ending would be left behind,
  # holding the prefix's lock.
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; fi
  kill ${KEEPER_PID:-} ${XVFB_PID:-} 2>/dev/null || true
  wait ${KEEPER_PID:-} ${XVFB_PID:-} 2>/dev/null || true
  # A thread of a Wine program can outlive its server and with it the session's lock, which every
  # program started here inherits: what still holds the lock goes with the session.
  if [ -n "${WINEPREFIX:-}" ]; then exec 9>&-; fuser -k -KILL "$WINEPREFIX.lock" >/dev/null 2>&1 || true; fi
  return 0
}

# options <group> <flags> <width>: the first line of an options file, MultiLine on and the flags
# ConfirmGroup, LeaveOnExit, SaveOnExit, ShowWarnings and StartGroup given as T or F.
options() { printf '"%s","**UNKNOWN**",#TRUE#,%s%s' "$1" "$(sed 's/T/#TRUE#,/g; s/F/#FALSE#,/g' <<<"$2")" "$3"; }
# Every default but the dialog at start, so Wendrel starts quietly.
QUIET_OPTIONS=$(options DEFAULT FTFTF 8)
OPTIONS_HEADER='"Default Group Default Name MultiLine ConfirmGroup LeaveOnExit SaveOnExit ShowWarnings StartGroup CaptionWidth"'

# new_folder <name> [options-line]: a fresh folder ($FOLDER) holding wendrel.exe (and options).
new_folder() {
  [ -n "${WORK:-}" ] && [ -n "${1:-}" ] || die "new_folder needs a session and a name"
  FOLDER="$WORK/$1"
  rm -rf "${FOLDER:?}"
  mkdir -p "$FOLDER"
  cp "$WENDREL_EXE" "$FOLDER/wendrel.exe"
  if [ $# -ge 2 ]; then printf '%s\r\n%s\r\n' "$2" "$OPTIONS_HEADER" >"$FOLDER/Wendrel.CFG"; fi
}
# start_wendrel [folder]: starts the folder's Wendrel ($FOLDER's unless told); PID is its process id.
start_wendrel() {
  # The started program inherits the tool's output: a file, not a pipe that would stay open.
  wine "$WTOOL" start "$(winpath "${1:-$FOLDER}/wendrel.exe")" "$(winpath "${1:-$FOLDER}")" >"$WORK/start.out" \
    2>/dev/null </dev/null
  PID=$(tr -d '\r' <"$WORK/start.out" | sed -n 's/^pid=//p')
  [ -n "$PID" ] && STARTED_PIDS+=("$PID")
}
STARTED_PIDS=()
# start_strip [folder]: starts Wendrel and waits for its strip; STRIP is the tool's line for it.
start_strip() { start_wendrel "$@" && STRIP=$(wt wait-window WendrelStrip "$PID" "$WAIT"); }
stop_wendrels() {
  local pid
  for pid in "${STARTED_PIDS[@]}"; do wt kill "$pid"; done
  STARTED_PIDS=()
}
# ends <pid>: the process ends; one that ended before the tool looked for it is gone.
ends() { grep -qxE "exit=0|gone" <<<"$(wt wait-exit "$1" "$WAIT")"; }
# close_wendrel <answer-id>: asks the strip to close and answers the question.
close_wendrel() {
  wt close WendrelStrip
  check "closing asks first" equals "$(wt answer Wendrel "$1" "$WAIT")" "Are you sure you want to close Wendrel?"
}

# field <line> <name>: the value of name=value in a line of the test tool.
field() { sed -n "s/.*\b$2=\([^ ]*\).*/\1/p" <<<"$1" | head -n1; }
geometry() { echo "$(field "$1" x),$(field "$1" y),$(field "$1" w),$(field "$1" h)"; }
screenshot() { import -display "$DISPLAY" -window root "$ARTEFACTS/$1.png" 2>/dev/null; }
# crop <name> <height> <top>: a strip-wide crop of the screenshot.
crop() { convert "$ARTEFACTS/$1.png" -crop "1024x$2+0+$3" "$ARTEFACTS/$1-crop.png" 2>/dev/null; }

# Test bookkeeping: check <description> <command...> records a failed expectation.
FAILURES=()
check() {
  local what=$1
  shift
  "$@" && return 0
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

# open_frame <class> <title> <url> [exstyle]: a stand-in browser window, waited for until it
# shows; its extended style is the application-window style unless given.
FRAME_PIDS=()
open_frame() {
  wine "$WTOOL" frame "$@" >/dev/null 2>&1 </dev/null &
  FRAME_PIDS+=($!)
  wt wait-window "$1" 0 "$WAIT" "$2" >/dev/null
}
# open_frames <class> <count> <name> [first-late]: a burst of stand-in browser windows from one
# process, "<name> 1" at http://www.<name>1.org/ and so on (the first one brought forward last).
open_frames() {
  wine "$WTOOL" frames "$1" "$2" "$3 #" "http://www.$3#.org/" "${4:-}" >/dev/null 2>&1 </dev/null &
  FRAME_PIDS+=($!)
}
close_frames() {
  [ ${#FRAME_PIDS[@]} -eq 0 ] && return 0 # a bare "wait" would wait for the desktop too
  kill "${FRAME_PIDS[@]}" 2>/dev/null
  wait "${FRAME_PIDS[@]}" 2>/dev/null
  FRAME_PIDS=()
}
# Ends every browser window's program left open (Wine's iexplore, stand-in frames, browsers).
close_browsers() {
  local pid
  for pid in $(wt list "" | grep -E ' class=(IEFrame|Chrome_WidgetWin_1|MozillaWindowClass) ' |
    sed -n 's/.* pid=\([0-9]*\).*/\1/p' | sort -u); do wt kill "$pid"; done
}
frame() { wt list "${2:-IEFrame}" | grep "title=$1\$"; } # frame <title> [class]: the tool's line for it
hwnd_of() { field "$(frame "$@")" hwnd; }
# The extended style a program gave a window, from a line of the test tool: the system adds
# WS_EX_WINDOWEDGE (0x100) by itself to any window with a sizing frame.
exstyle_of() { if [ -n "$(field "$1" exstyle)" ]; then printf '0x%x\n' $(($(field "$1" exstyle) & ~0x100)); else echo none; fi; }

tab_count_is() { [ "$(wt tabs | head -n1 | cut -d' ' -f1)" = "count=$1" ]; }
tab_captions() { wt tabs | sed -n 's/^tab=.* caption=//p' | paste -sd, -; } # comma-separated
captions_are() { [ "$(tab_captions)" = "$1" ]; }
selected_tab() { wt tabs | head -n1 | sed -n 's/.*selected=\([0-9-]*\).*/\1/p'; }
foreground_title_is() { [ "$(wt foreground | sed -n 's/.* title=//p')" = "$1" ]; }

# The middle of a line's rectangle, and a real mouse click there: click_at <tool-line> [button].
center() { echo $(($(field "$1" x) + $(field "$1" w) / 2)) $(($(field "$1" y) + $(field "$1" h) / 2)); }
click_at() { [ -n "$1" ] && xdotool mousemove $(center "$1") click "${2:-1}"; }
strip_tab() { wt tabs | grep "^tab=$1 "; } # strip_tab <n>: the tool's line for the strip's tab n
# tab_line <window-title|""> <caption>: the tool's line for a tab of the window's tab control (the
# strip's); click_tab clicks it, drag_off_tab presses it and lets go elsewhere.
tab_line() { wt tabs ${1:+"$1"} | grep -F "caption=$2" | head -n1; }
click_tab() { click_at "$(tab_line "$1" "$2")" "${3:-1}"; }
drag_off_tab() {
  local line
  line=$(tab_line "$@")
  [ -n "$line" ] && xdotool mousemove $(center "$line") mousedown 1 mousemove 900 200 mouseup 1
}

DIALOG="Options & More"
edit_shows() { wt controls "$DIALOG" | grep -q "class=Edit text=$1\$"; }
# click_control <window-title> <text>: a click on the visible control with exactly that text.
click_control() { click_at "$(wt controls "$1" | awk -v t="$2" 'substr($0, index($0, " text=") + 6) == t' | head -n1)"; }
control_shown() { wt controls "$1" | grep -qF "text=$2"; }
# click_row <window-title> <columns> <row>: a click on a row (0 is the first below the header) of
# the window's list view with that many columns (tabs 6, groups 1, group lines 3).
click_row() {
  local line
  line=$(wt listview "$1" "$2" | grep "^row=$3 ")
  [ -n "$line" ] && xdotool mousemove $(($(field "$line" x) + 12)) $(($(field "$line" y) + $(field "$line" h) / 2)) click 1
}
list_rows() { wt listview "$1" "$2" | sed -n 's/^row=[0-9]* .* text=//p'; } # "cell|cell|..." a line
marks_are() { [ "$(list_rows "$DIALOG" 6 | cut -d"|" -f1 | paste -sd, -)" = "$1" ]; }
page_shown() { wait_until "$WAIT" control_shown "$DIALOG" "$1"; }
# open_dialog: from the tray menu, once the last pass gave the strip the foreground (or the
# window it raised could come over the dialog).
open_dialog() {
  wait_until "$WAIT" foreground_title_is Wendrel && open_tray_menu && menu_click options &&
    quietly wt wait-window WendrelOptions "$PID" "$WAIT"
}
# dialog_over_new_window: a new window is laid over the dialog, and the pass ends giving the
# strip the foreground; then a click on the tray icon brings the dialog to the front.
dialog_over_new_window() {
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/" && wait_until "$WAIT" tab_count_is 1 &&
    wait_until "$WAIT" foreground_title_is Wendrel && tray_click 1 &&
    waits 'wt foreground | grep -q "title=$DIALOG"'
}

# The tray icon: Wine draws the first icon in the taskbar's last 20 x 20 pixels; it shows when
# that place differs from an empty place of the taskbar.
tray_spot() { import -display "$DISPLAY" -window root -crop "16x16+$1+750" -format '%[fx:mean]' info: 2>/dev/null; }
tray_icon_shown() { [ "$(tray_spot 1006)" != "$(tray_spot 900)" ]; }
tray_click() { xdotool mousemove 1014 758 click "$1"; }
# Opens the popup menu from the tray icon and waits until it shows.
open_tray_menu() { wait_until "$WAIT" tray_icon_shown && tray_click 3 && quietly wt wait-window '#32768' 0 "$WAIT"; }
# Closes the open popup menu by a click beside it (the keyboard may not reach it: under Wine a
# menu opened right after another program's window was activated does not hear the keyboard).
close_menu() { xdotool mousemove 700 100 click 1 && wt wait-gone '#32768' "$WAIT"; }
# menu_item <offsets> <item>: clicks an item of the topmost popup menu shown. Items are 16 pixels
# high and separators 9, below a 3-pixel border, in the menu's fixed order.
menu_item() {
  local line
  line=$(wt list '#32768' | grep 'visible=1' | head -n1)
  [ -n "$line" ] && xdotool mousemove $(($(field "$line" x) + 40)) $(($(field "$line" y) + $(field "$1" "$2"))) click 1
}
menu_click() { menu_item "about=11 info=27 options=52 open=77 save=93 closeall=118 close=143 active=168" "$1"; }
# active_tab <item>: an item of the "Active Tab" submenu, the second menu shown, above the first.
active_tab() {
  open_tray_menu && menu_click active && waits '[ "$(wt list "#32768" | grep -c "visible=1")" -ge 2 ]' &&
    menu_item "add=11 shortname=27 refresh=43 stop=59 close=75" "$1"
}
# browser_told <Member> <hwnd>: a browser command reached the window through its automation (on
# Wine's shell the test tool's windows have none: the program leaves them be).
browser_told() { on_standin wait_until "$WAIT" grep -qx "$1 $2" "$SHELL_LOG"; }

# The Linux process of a folder's wendrel.exe, not its guard's: its command line is the bare path.
linux_pid_of() {
  ps -eo pid=,args= | EXE="$(winpath "$1/wendrel.exe")" awk '{ pid = $1; sub(/^ *[0-9]+ /, ""); if ($0 == ENVIRON["EXE"]) print pid }'
}
# The clock ticks (user and system, all threads) a Linux process has used so far.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
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
# figure <name> <value> <what>: logs a figure and keeps it in the artefacts as <name>.txt.
figure() { log "   $3: $2" && echo "$2" >"$ARTEFACTS/$1.txt"; }
median_of() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }
# on_standin <command...>: a check of what the stand-in shell logged; Wine's shell keeps no log.
on_standin() { [ "$SHELL_MODE" = wine ] || "$@"; }
