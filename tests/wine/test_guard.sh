# Windows taken off the taskbar get their buttons back however Wendrel ends: killed, crashed,
# closed, at the end of the session, or killed with a damaged list; their own style bits survive;
# the guard that makes this so stays out of sight and out of the second-instance check.

MIRRORED_STYLE=0x440010 # application window, right-to-left layout, accepting dropped files

# frame_states: "exstyle visible" of the three stand-in browsers, from one look at them.
frame_states() {
  local frames title line
  frames=$(wt list IEFrame)
  for title in "Alpha Page" "Mirrored Page" "Gamma Page"; do
    line=$(grep "title=$title\$" <<<"$frames")
    printf '%s %s / ' "$(exstyle_of "$line")" "$(field "$line" visible)"
  done
}
frames_are() { [ "$(frame_states)" = "$1 1 / $2 1 / $3 1 / " ]; }
tracked() { tab_count_is 3 && frames_are 0x80 0x400090 0x80; }
given_back() { frames_are 0x40000 "$MIRRORED_STYLE" 0x40000; }
# No list of windows without their buttons is left in the folder, under any session's name.
no_list() { ! compgen -G "$FOLDER/Wendrel*.Taskbar" >/dev/null; }
# The guard: the process whose parent is Wendrel's.
guard_pid() { wt procs wendrel.exe | grep "parent=$1\$" | sed -n 's/^pid=\([0-9]*\).*/\1/p'; }
no_wendrel_left() { [ -z "$(wt procs wendrel.exe)" ]; }
# start_guarded: Wendrel again, with the three windows tracked and its guard beside it.
start_guarded() {
  start_wendrel && check "the three windows are tracked" wait_until "$WAIT" tracked &&
    check "a guard runs beside Wendrel" waits '[ -n "$(guard_pid "$PID")" ]'
}

# windows_come_back <what> <figure-name>: within 2 s every window has its own style back and is
# visible (looked at without pause; a look that began in time but ended late does not count);
# then the guard ends and cleans the list.
windows_come_back() {
  local start ms
  start=$(date +%s%N)
  until given_back; do [ $((($(date +%s%N) - start) / 1000000)) -le 2000 ] || break; done
  ms=$((($(date +%s%N) - start) / 1000000))
  if [ "$ms" -gt 2000 ]; then
    check "within 2 s of $1 every window has its own style back and is visible ($ms ms)" false
    wait_until "$WAIT" given_back && log "    (they came back later)"
    log "    now: $(frame_states)"
    return 1
  fi
  figure "$2" "$ms" "$1 to every window given back (ms)"
  check "the guard ends after its work" wait_until "$WAIT" no_wendrel_left
  check "the list of windows is cleaned" no_list
}

test_windows_get_their_buttons_back_however_wendrel_ends() {
  local first guard ended list other start
  new_folder guard "$QUIET_OPTIONS"
  start_strip || return 1
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  open_frame IEFrame "Mirrored Page" "http://www.mirrored.org/" "$MIRRORED_STYLE"
  open_frame IEFrame "Gamma Page" "http://www.gamma.net/"
  # A tool window of another kind, which a stale line of the list names below as if it had been taken.
  open_frame Notepad "Other Tool" "" 0x80
  check "the three windows are tracked, the mirrored one keeping its own bits" wait_until "$WAIT" tracked || return 1
  check "a guard runs beside Wendrel" waits '[ -n "$(guard_pid "$PID")" ]' || return 1
  first=$PID
  guard=$(guard_pid "$PID")
  # Without a window of its own the guard can show nothing, tray icon included.
  check "the guard has no window" equals "$(wt list "" "$guard")" ""
  start_wendrel || return 1
  check "a second instance tells that Wendrel runs" equals "$(wt answer Wendrel 1 "$WAIT")" "Wendrel is already running."
  check "and ends" ends "$PID"
  check "the first instance keeps running" equals "$(wt wait-exit "$first" 0.5)" running
  check "Wendrel and one guard run, nothing more" equals "$(wt procs wendrel.exe | wc -l)" 2
  check "the guard is still the first instance's" equals "$(guard_pid "$first")" "$guard"

  kill -9 "$(linux_pid_of "$FOLDER")"
  windows_come_back "kill -9" guard-kill-to-restore || return 1

  start_guarded || return 1
  # A thread of Wendrel's runs code where there is none: an access violation nobody handles.
  check "a crash is induced" wt crash "$PID" || return 1
  windows_come_back "the crash" guard-crash-to-restore || return 1
  # The crash ends the process at once instead of waiting on a crash dialog. Once ended, the
  # process may already be gone with its exit code.
  ended=$(wt wait-exit "$PID" "$WAIT")
  check "Wendrel has ended, with its crash code if still known" \
    eval '[ "$ended" = gone ] || [ "$ended" = "exit=3758096385" ]' || log "    got: $ended"

  start_guarded || return 1
  close_wendrel 6
  check "Wendrel ends" ends "$PID"
  check "closed, every window has its own style back and is visible" wait_until "$WAIT" given_back
  check "the guard ends with Wendrel" wait_until "$WAIT" no_wendrel_left
  check "no list of windows is left" no_list

  start_guarded || return 1
  # What the system sends every window when the user logs off: the session is ending.
  wt post WendrelStrip 0x16 1 0
  check "at the session's end every window has its own style back and is visible" wait_until "$WAIT" given_back
  check "no question holds up the session's end" quietly wt wait-gone '#32770' "$WAIT"
  check "the list of windows is cleaned" no_list
  stop_wendrels
  wait_until "$WAIT" no_wendrel_left || return 1

  # The list is Wendrel's to write, but any file may stand in its place: the guard and the next
  # start read a bounded part of it, pass over what is damaged, and restyle no window that is not
  # the one taken.
  start_guarded || return 1
  list=$(compgen -G "$FOLDER/Wendrel*.Taskbar")
  check "Wendrel keeps its list of windows" [ -f "$list" ] || return 1
  other=$(hwnd_of "Other Tool" Notepad)
  {
    # Named as taken, first as a window of another class, then by a line that cannot tell.
    printf '+ %d 0x0 IEFrame wtool.exe\r\n+ %d 0x0\r\n' "$other" "$other"
    printf '+ 1\0002 0x0\r\n+ 99999999999999 0x0 IEFrame\r\n+ 3 0x0 A%%Z\r\n%5000s\r\n\377\376\r\n' x
    awk 'BEGIN { for (i = 1; i <= 2500000; i++) printf "+ %d 0x0 IEFrame\r\n", 300000000 + i }'
  } >>"$list"
  log "   list of $(($(stat -c %s "$list") / 1048576)) MB"
  kill -9 "$(linux_pid_of "$FOLDER")"
  windows_come_back "kill -9 with a damaged list" guard-damaged-list-to-restore
  check "the window the stale line names keeps its style" equals "$(exstyle_of "$(wt list Notepad)")" 0x80
  # An older version's list as large, left beside the program: the next start is not held up.
  awk 'BEGIN { for (i = 1; i <= 2500000; i++) printf "+ %d 0x0\r\n", 300000000 + i }' >"$FOLDER/Wendrel.Taskbar"
  start=$SECONDS
  start_guarded && log "   start with a large older list to the windows tracked: $((SECONDS - start)) s"
}
