# The shell's window collection and the browsers' automation: events instead of polling, the
# calls of one pass, and the commands that reach browsers. Figures go to the artefacts.

test_a_burst_of_windows_gives_one_pass_and_idling_costs_nothing() {
  local folder pid ticks spread
  folder=$(new_folder burst "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  pid=$PID
  wt wait-window WendrelStrip "$pid" "$WAIT" >/dev/null || return 1
  if in_standin_mode; then
    check "the program listens to the shell's events" wait_until "$WAIT" grep -q '^Advise => ' "$SHELL_LOG"
    # The pass that follows start-up, over no window.
    wait_until "$WAIT" eval '[ "$(enumerations)" -ge 1 ]' || return 1
    : >"$SHELL_LOG"
  fi
  # The first window comes forward after the others, as a busy desktop's late activation does:
  # the tabs still follow the order the windows were made in.
  open_frames IEFrame 10 burst first-late
  check "ten windows give ten tabs" wait_until "$WAIT" tab_count_is 10 || return 1
  check "the last tab is selected" wait_until "$WAIT" eval '[ "$(selected_tab)" = 10 ]'
  if in_standin_mode; then
    spread=$(sed -n 's/^raise WindowRegistered .* ms=\([0-9]*\)$/\1/p' "$SHELL_LOG" | sort -n |
      sed -n '1p;$p' | paste -sd' ' - | awk '{ print $2 - $1 }')
    log "   the ten windows registered within $spread ms"
    # On a busy machine the arrivals may spread beyond the program's half-second wait: idling
    # starts once a walk has followed the last of them.
    wait_until "$WAIT" eval '[ "$(grep -E "^(raise WindowRegistered|_NewEnum) " "$SHELL_LOG" | tail -n1 | cut -c1-8)" = _NewEnum ]'
  fi

  # Idle: no tooltip or menu pending, nothing opening or closing.
  ticks=$(idle_ticks "$folder")
  check "the program's Linux process is found" [ -n "$ticks" ] || return 1
  log "   idle CPU with 10 windows over 20 s ($SHELL_MODE shell): $ticks ticks"
  echo "$ticks" >"$ARTEFACTS/idle-cpu-ticks-$SHELL_MODE.txt"
  if in_standin_mode; then
    check "idling with ten tabs costs no CPU" equals "$ticks" 0
    check "every window was announced to the program" \
      equals "$(grep -c '^raise WindowRegistered .* sinks=1 ' "$SHELL_LOG")" 10
    # Arrivals within half a second make one pass.
    [ "$spread" -ge 500 ] || check "the burst gave one pass" equals "$(enumerations)" 1
  fi

  wt close IEFrame "burst 4"
  check "a closed window loses its tab" wait_until "$WAIT" tab_count_is 9
  check "the other tabs stay in order" equals "$(tab_captions)" \
    "burst1.o..,burst2.o..,burst3.o..,burst5.o..,burst6.o..,burst7.o..,burst8.o..,burst9.o..,burst10..."
  if in_standin_mode; then
    check "the closing was announced to the program" grep -q '^raise WindowRevoked .* sinks=1 ' "$SHELL_LOG"
  fi
}

test_time_from_a_window_to_its_tab() {
  local folder out median
  folder=$(new_folder timed "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  out=$(wt time-to-tab 7 "$WAIT")
  median=$(sed -n 's/^median=//p' <<<"$out")
  check "every window got its tab" [ -n "$median" ] || return 1
  log "   window to tab ($SHELL_MODE shell): median $median ms; each: $(sed -n 's/^ms=//p' <<<"$out" | paste -sd' ' -)"
  echo "$median" >"$ARTEFACTS/window-to-tab-median-ms-$SHELL_MODE.txt"
}

NEEDS_SHELL[test_the_calls_of_one_pass_grow_linearly]=standin
test_the_calls_of_one_pass_grow_linearly() {
  local folder n open=0 calls figures=""
  folder=$(new_folder calls "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  wait_until "$WAIT" eval '[ "$(enumerations)" -ge 1 ]' || return 1
  for n in 1 10 50; do
    : >"$SHELL_LOG"
    # One burst brings the windows up to n: the pass that follows walks all n of them.
    open_frames IEFrame $((n - open)) "calls$n-"
    open=$n
    check "$n tabs" wait_until "$WAIT" tab_count_is "$n" || return 1
    check "the pass over $n windows ends" wait_until "$WAIT" \
      eval '[ "$(selected_tab)" = "$n" ] && [ "$(grep -c "^get_LocationURL " "$SHELL_LOG")" -ge "$n" ]' || return 1
    calls=$(shell_calls | wc -l)
    figures="$figures N=$n: $calls"
    check "one pass for $n windows" equals "$(enumerations)" 1
    # One enumeration (two calls), three reads per window, and the raised tab's details read
    # afresh (two calls).
    check "the pass over $n windows makes at most 3N + 4 calls ($calls)" [ "$calls" -le $((3 * n + 4)) ]
  done
  log "   calls to the shell and browsers in one pass:$figures"
  echo "$figures" >"$ARTEFACTS/calls-per-pass.txt"
}

NEEDS_SHELL[test_the_tab_commands_reach_the_right_browsers]=standin
test_the_tab_commands_reach_the_right_browsers() {
  local folder alpha beta gamma
  folder=$(new_folder commands "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  open_frame IEFrame "Beta Page" "http://www.beta.org/x"
  open_frame IEFrame "Gamma Page" "http://www.gamma.net/"
  wait_until "$WAIT" tab_count_is 3 || return 1
  # The pass that gave the newest window its tab ends by raising that window and giving the
  # strip the foreground: the dialog is opened after it, or the window could come over it.
  wait_until "$WAIT" foreground_title_is Wendrel || return 1
  alpha=$(hwnd_of "Alpha Page")
  beta=$(hwnd_of "Beta Page")
  gamma=$(hwnd_of "Gamma Page")
  wait_until "$WAIT" tray_icon_shown
  open_tray_menu || return 1
  menu_click options
  wt wait-window WendrelOptions "$PID" "$WAIT" >/dev/null || return 1
  wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 6 | wc -l)" = 3 ]' || return 1

  # "Close All Selected IE" quits the marked row's browser only.
  click_row "$DIALOG" 6 1
  wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 6 | cut -d"|" -f1 | paste -sd, -)" = ,X, ]' || return 1
  : >"$SHELL_LOG"
  click_control "$DIALOG" "Close All Selected IE"
  check "the marked browser quits" wt wait-gone IEFrame "$WAIT" "Beta Page"
  check "through its automation, and no other" equals "$(grep '^Quit ' "$SHELL_LOG")" "Quit $beta"
  check "its tab goes" wait_until "$WAIT" eval '[ "$(tab_captions)" = "alpha.com/,gamma.net/" ]'
  check "the page lists the tabs left" wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 6 | wc -l)" = 2 ]'

  # "Refresh Selected IE" reloads the marked rows' browsers.
  click_row "$DIALOG" 6 1
  wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 6 | cut -d"|" -f1 | paste -sd, -)" = ,X ]' || return 1
  : >"$SHELL_LOG"
  click_control "$DIALOG" "Refresh Selected IE"
  check "the marked browser is refreshed" wait_until "$WAIT" grep -qx "Refresh $gamma" "$SHELL_LOG"
  check "and no other" equals "$(grep '^Refresh ' "$SHELL_LOG")" "Refresh $gamma"
  wt close WendrelOptions
  wt wait-gone WendrelOptions "$WAIT"

  # The active tab's "Stop" and "Refresh" reach the active tab's browser.
  click_strip_tab 1
  wait_until "$WAIT" eval '[ "$(selected_tab)" = 1 ]' || return 1
  : >"$SHELL_LOG"
  open_tray_menu || return 1
  menu_click active
  submenu_click stop || return 1
  check "Stop reaches the active browser" wait_until "$WAIT" grep -qx "Stop $alpha" "$SHELL_LOG"
  open_tray_menu || return 1
  menu_click active
  submenu_click refresh || return 1
  check "Refresh reaches the active browser" wait_until "$WAIT" grep -qx "Refresh $alpha" "$SHELL_LOG"
  check "no other browser was stopped or refreshed" equals "$(grep -cE "^(Stop|Refresh) " "$SHELL_LOG")" 2
}

NEEDS_SHELL[test_a_group_opens_through_automation_and_closes_with_the_program]=standin
test_a_group_opens_through_automation_and_closes_with_the_program() {
  local folder pid handles h
  # StartGroup on, LeaveOnExit off: the group "Work" opens at start and its windows close at exit.
  folder=$(new_folder group '"Work","**UNKNOWN**",#TRUE#,#FALSE#,#FALSE#,#FALSE#,#TRUE#,#TRUE#,8')
  mkdir -p "$folder/Groups"
  printf 'Home,http://www.home.org/\r\nNews,http://news.example.com/today\r\nMail,http://mail.example.net/\r\n' \
    >"$folder/Groups/Work.WDX"
  start_wendrel "$folder" || return 1
  pid=$PID
  check "the program asks before opening the group" \
    equals "$(wt answer WENDREL 6 "$WAIT")" "Are you sure you want to open the Group Work?"
  check "one tab per line, with its short name" wait_until "$WAIT" eval '[ "$(tab_captions)" = Home,News,Mail ]' ||
    return 1
  check "each line made a browser" equals "$(grep -c '^CreateInstance InternetExplorer.Application => [1-9]' "$SHELL_LOG")" 3
  check "each browser went to its line's URL" equals "$(sed -n 's/^Navigate [0-9]* //p' "$SHELL_LOG" | paste -sd' ' -)" \
    "http://www.home.org/ http://news.example.com/today http://mail.example.net/"
  check "each browser was shown" equals "$(grep -c '^put_Visible [0-9]* true$' "$SHELL_LOG")" 3
  check "the browser windows show their pages" \
    equals "$(wt list IEFrame | grep visible=1 | sed -n 's/.* title=//p' | sort | paste -sd' ' -)" \
    "http://mail.example.net/ http://news.example.com/today http://www.home.org/"
  handles=$(sed -n 's/^CreateInstance InternetExplorer.Application => //p' "$SHELL_LOG")
  for h in $handles; do
    check "browser $h is let go once it has been told where to go" wait_until "$WAIT" grep -qx "released $h" "$SHELL_LOG"
  done

  wt close WendrelStrip
  check "closing asks first" equals "$(wt answer Wendrel 6 "$WAIT")" "Are you sure you want to close Wendrel?"
  check "the program ends" equals "$(wt wait-exit "$pid" "$WAIT")" "exit=0"
  check "the browser windows close" wt wait-gone IEFrame "$WAIT"
  for h in $handles; do
    check "browser $h is told to quit once" equals "$(grep -cx "Quit $h" "$SHELL_LOG")" 1
  done
}

NEEDS_SHELL[test_after_the_shell_restarts_new_windows_still_get_tabs]=standin
test_after_the_shell_restarts_new_windows_still_get_tabs() {
  local folder
  folder=$(new_folder restart "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  wait_until "$WAIT" tab_count_is 1 || return 1
  # Explorer ends and starts again: the old shell's collections and subscriptions are gone, and
  # the new taskbar announces itself to every top-level window.
  wt post StandInShellWindows 0x8002 0 0 # the stand-in's restart
  wait_until "$WAIT" grep -qx restart "$SHELL_LOG" || return 1
  wt post WendrelStrip TaskbarCreated 0 0
  check "the program subscribes to the new shell" wait_until "$WAIT" eval '[ "$(grep -c "^Advise => " "$SHELL_LOG")" = 2 ]'
  open_frame IEFrame "Beta Page" "http://www.beta.org/x"
  check "a window opened after the restart gets its tab" wait_until "$WAIT" tab_count_is 2
  check "in its place" equals "$(tab_captions)" "alpha.com/,beta.org/x"
}
