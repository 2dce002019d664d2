# The tray menu opens a browser through the shell and closes Wendrel; started again, Wendrel opens
# a group one browser per line through the shell's automation and closes them at exit.

test_the_tray_menu_opens_a_browser_closes_and_a_group_opens_and_closes_with_wendrel() {
  local line h handles
  new_folder tray "$QUIET_OPTIONS"
  start_strip || return 1
  # Open Single & IE: the shell's browser (Wine's own, or the stand-in's) makes a real IEFrame
  # window, which gets a tab.
  open_tray_menu && menu_click open
  check "Open Single & IE opens a browser window" quietly wt wait-window IEFrame 0 "$WAIT"
  check "the browser window gets a tab" wait_until "$WAIT" tab_count_is 1
  check "the browser is a tool window" equals "$(exstyle_of "$(wt list IEFrame | head -n1)")" 0x80

  # C&lose Wendrel, answered Yes: tray icon removed, process ended. LeaveOnExit is on: the
  # browser stays, with its taskbar button back, over the whole work area.
  open_tray_menu && menu_click close
  check "closing asks first" equals "$(wt answer Wendrel 6 "$WAIT")" "Are you sure you want to close Wendrel?"
  check "the program ends" equals "$(wt wait-exit "$PID" "$WAIT")" "exit=0"
  check "the tray icon is removed" waits '! tray_icon_shown'
  line=$(wt list IEFrame | head -n1)
  check "the browser stays, an application window again over the work area" \
    equals "$(exstyle_of "$line") $(geometry "$line")" "0x40000 0,0,1024,748"

  # Started again with StartGroup on and LeaveOnExit off, beside the browser left open: the
  # default group opens one browser per line with its short name, and at exit every window
  # closes, quietly: a browser that only hides when asked to close (Wine's does) is not shown
  # again by the taskbar button it gets back.
  printf '%s\r\n%s\r\n' "$(options DEFAULT FFFTT 8)" "$OPTIONS_HEADER" >"$FOLDER/Wendrel.CFG"
  mkdir -p "$FOLDER/Groups"
  printf 'Home,http://www.home.org/\r\nNews,http://news.example.com/today\r\nMail,http://mail.example.net/\r\n' \
    >"$FOLDER/Groups/DEFAULT.WDX"
  empty_shell_log
  start_wendrel || return 1
  check "the program asks before opening the group" \
    equals "$(wt answer WENDREL 6 "$WAIT")" "Are you sure you want to open the Group DEFAULT?"
  check "one tab per line, with its short name, beside the browser's" \
    waits 'tab_count_is 4 && tab_captions | grep -q "Home,News,Mail"' || return 1
  handles=$(sed -n 's/^CreateInstance InternetExplorer.Application => //p' "$SHELL_LOG")
  check "each line made a browser" on_standin equals "$(wc -w <<<"$handles")" 3
  check "each browser went to its line's URL" on_standin equals \
    "$(sed -n 's/^Navigate [0-9]* //p' "$SHELL_LOG" | paste -sd' ' -)" \
    "http://www.home.org/ http://news.example.com/today http://mail.example.net/"
  check "each browser was shown" on_standin equals "$(grep -c '^put_Visible [0-9]* true$' "$SHELL_LOG")" 3
  for h in $handles; do
    check "browser $h is let go once told where to go" wait_until "$WAIT" grep -qx "released $h" "$SHELL_LOG"
  done
  close_wendrel 6
  check "the program ends" ends "$PID"
  check "no browser window is shown once it has ended" quietly wt wait-gone IEFrame 0
  check "nor once its guard has ended" waits '[ -z "$(wt procs wendrel.exe)" ] && wt wait-gone IEFrame 0'
  for h in $handles; do check "browser $h is told to quit once" equals "$(grep -cx "Quit $h" "$SHELL_LOG")" 1; done
}
