# The tray icon, its popup menu and the shutdown from the menu.

test_tray_menu_about() {
  local folder text version
  version=$(sed -nE 's/^project\(wendrel VERSION ([0-9.]+) .*/\1/p' "$WINE_TESTS_DIR/../../CMakeLists.txt")
  folder=$(new_folder about "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  check "the tray icon is shown" wait_until "$WAIT" tray_icon_shown
  check "a right click on the tray icon opens the menu" open_tray_menu || return 1
  screenshot tray-menu
  menu_keys Down Return
  text=$(wt answer Wendrel 1 "$WAIT")
  check "About tells the version" [ "${text#You are using Wendrel V$version.}" != "$text" ] || log "    got: $text"
}

test_tray_menu_opens_saves_and_closes() {
  local folder pid text line
  folder=$(new_folder traymenu "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  pid=$PID
  wt wait-window WendrelStrip "$pid" "$WAIT" >/dev/null || return 1
  wait_until "$WAIT" tray_icon_shown

  # Open Single & IE: Wine's browser makes a real IEFrame window, which gets a tab.
  open_tray_menu || return 1
  menu_click open
  check "Open Single & IE opens a browser window" quietly wt wait-window IEFrame 0 "$WAIT"
  check "the browser window gets a tab" wait_until "$WAIT" tab_count_is 1
  line=$(wt list IEFrame | head -n1)
  check "the browser is a tool window" equals "$(exstyle_of "$line")" 0x80

  # &Save (Default Group) writes the default group's file.
  open_tray_menu || return 1
  menu_click save
  text=$(wt answer Wendrel 1 "$WAIT")
  check "saving tells the group" equals "$text" "The details have been saved as the Group DEFAULT."
  check "the default group's file is written" [ -f "$folder/Groups/DEFAULT.WDX" ] &&
    check "one line for the one tab" equals "$(tr -d '\r' <"$folder/Groups/DEFAULT.WDX" | wc -l)" 1 &&
    check "lines end in CR LF" equals "$(tail -c 2 "$folder/Groups/DEFAULT.WDX" | od -An -c | tr -d ' ')" '\r\n'

  # C&lose Wendrel, answered Yes: options written, tray icon removed, process ended.
  rm -f "$folder/Wendrel.CFG"
  open_tray_menu || return 1
  menu_click close
  text=$(wt answer Wendrel 6 "$WAIT")
  check "closing asks first" equals "$text" "Are you sure you want to close Wendrel?"
  check "the program ends" equals "$(wt wait-exit "$pid" "$WAIT")" "exit=0"
  check "the options file is written" equals "$(head -n1 "$folder/Wendrel.CFG" 2>/dev/null | tr -d '\r')" \
    "$QUIET_OPTIONS"
  check "the tray icon is removed" wait_until "$WAIT" tray_icon_gone
  # LeaveOnExit is on: the browser stays, with its taskbar button back.
  line=$(wt list IEFrame | head -n1)
  check "the browser stays open" [ -n "$line" ]
  check "the browser is an application window again" equals "$(exstyle_of "$line")" 0x40000
  check "the browser covers the whole work area" \
    equals "$(field "$line" x),$(field "$line" y),$(field "$line" w),$(field "$line" h)" "0,0,1024,748"

  # Started again, opening the saved group beside the browser left open, and closed with its
  # windows, quietly: a browser that only hides when asked to close (Wine's does) is not shown
  # again by the taskbar button it gets back.
  printf '%s\r\n%s\r\n' '"DEFAULT","**UNKNOWN**",#TRUE#,#FALSE#,#FALSE#,#FALSE#,#FALSE#,#TRUE#,8' \
    "$OPTIONS_HEADER" >"$folder/Wendrel.CFG"
  start_wendrel "$folder" || return 1
  pid=$PID
  check "the group opens beside the browser left open" wait_until "$WAIT" tab_count_is 2 || return 1
  wt close WendrelStrip
  check "the program ends" equals "$(wt wait-exit "$pid" "$WAIT")" "exit=0"
  check "no browser window of the group is shown" quietly wt wait-gone IEFrame 0
  check "and none is shown after the guard has ended" wait_until "$WAIT" eval '[ -z "$(wt procs wendrel.exe)" ]'
  check "  (a last look)" quietly wt wait-gone IEFrame 0 || wt list IEFrame >&2
}

test_active_tab_short_name_and_close() {
  local folder text
  wendrel_with_one_tab activetab || return 1
  folder=$FOLDER

  open_tray_menu || return 1
  menu_click active
  check "Active Tab opens its submenu" submenu_click shortname || return 1
  text=$(wt input Wendrel "Mine" "$WAIT")
  check "Short Name asks for the name" equals "$text" "Enter a short name without special characters for the active tab"
  check "the tab shows its short name" wait_until "$WAIT" eval '[ "$(tab_captions)" = Mine ]'

  open_tray_menu || return 1
  menu_click active
  submenu_click close || return 1
  text=$(wt answer Wendrel 6 "$WAIT")
  check "Close asks first" equals "$text" "Are you sure you want to delete the active tab?"
  check "the browser window closes" wt wait-gone IEFrame "$WAIT"
  check "its tab goes" wait_until "$WAIT" tab_count_is 0
}

test_the_image_and_the_strip_surface_open_the_menu() {
  local folder
  folder=$(new_folder image "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  # The strip's image spans pixels 0 to 31; the tab frame starts 6 pixels right of it.
  xdotool mousemove 16 736 click 1
  check "a click on the image opens the menu" quietly wt wait-window '#32768' 0 "$WAIT" || return 1
  check "a click beside the menu closes it" close_menu || return 1
  xdotool mousemove 35 736 click 3
  check "a right click on the strip's surface opens the menu" quietly wt wait-window '#32768' 0 "$WAIT"
  close_menu
}
