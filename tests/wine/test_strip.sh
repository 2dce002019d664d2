# The strip: its place, its menu, tabs with their places and tips; the dialog opened from the menu
# over them and its browser commands; clicks that bring windows forward, a work area announced,
# the active tab's Stop and Refresh, and a close answered No.

# Every visible stand-in window lies over the work area, ending where the strip begins.
windows_laid() { ! wt list IEFrame | grep 'visible=1' | grep -qv ' x=0 y=0 w=1024 h=723 '; }
iconic() { [ "$(field "$(frame "$1")" iconic)" = "$2" ]; } # iconic <title> <0|1>

test_the_strip_its_menu_tabs_the_dialog_over_them_clicks_and_commands() {
  local title line offset alpha beta
  new_folder strip "$QUIET_OPTIONS"
  start_strip || return 1
  figure launch-to-strip-ms "$(field "$STRIP" ms)" "launch to strip visible (ms from process start)"
  # Work area 0,0,1024,748: one row of tabs is 345 twips, 23 pixels at 96 dpi.
  check "the strip lies on the work area's bottom, one row high" equals "$(geometry "$STRIP")" "0,725,1024,23"
  check "the strip is a tool window" [ $(($(field "$STRIP" exstyle) & 0x80)) -ne 0 ]
  screenshot strip-empty
  # The strip's image spans pixels 0 to 31; the tab frame starts 6 pixels right of it.
  xdotool mousemove 16 736 click 1
  check "a click on the image opens the menu" quietly wt wait-window '#32768' 0 "$WAIT" || return 1
  check "a click beside the menu closes it" close_menu || return 1
  xdotool mousemove 35 736 click 3
  check "a right click on the strip's surface opens the menu" quietly wt wait-window '#32768' 0 "$WAIT"
  close_menu
  check "a right click on the tray icon opens the menu" open_tray_menu || return 1
  screenshot tray-menu
  close_menu

  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  open_frame IEFrame "Beta Page" "http://www.beta.org/x"
  open_frame IEFrame "Gamma Page" "http://www.gamma.net/"
  check "three tabs appear" wait_until "$WAIT" tab_count_is 3 || return 1
  check "tabs in opening order, captioned from their URLs" waits 'captions_are alpha.com/,beta.org/x,gamma.net/'
  for title in Alpha Beta Gamma; do
    # A new window is laid above the strip as high as the strip is at that moment: 23 pixels
    # before the first tab, 25 once tabs (2 pixels below the control's top) fit it.
    check "$title lies over the work area above the strip" grep -qE '^0,0,1024,72[35]$' <<<"$(geometry "$(frame "$title Page")")"
  done
  # The selected tab's window is laid again after the strip was fitted: it meets the strip.
  check "the selected tab's window ends where the strip begins" equals "$(geometry "$(frame "Gamma Page")")" 0,0,1024,723
  check "the strip is fitted to its row of tabs" equals "$(geometry "$(wt list WendrelStrip)")" 0,723,1024,25
  screenshot strip-with-tabs
  crop strip-with-tabs 25 723

  # Hovering a tab shows its URL (moved onto from off the strip: without a move, no hover).
  xdotool mousemove 512 300
  xdotool mousemove $(center "$(strip_tab 1)")
  check "hovering tab 1 shows its URL" quietly wt wait-window tooltips_class32 "$PID" "$WAIT" "http://www.alpha.com/"
  screenshot tab-tooltip
  xdotool mousemove $(center "$(strip_tab 2)")
  check "hovering tab 2 shows its URL" quietly wt wait-window tooltips_class32 "$PID" "$WAIT" "http://www.beta.org/x"
  xdotool mousemove 512 300

  alpha=$(hwnd_of "Alpha Page")
  beta=$(hwnd_of "Beta Page")
  check "the dialog opens" open_dialog || return 1
  # Client area 8175 x 5880 twips: 545 x 392 pixels, centred on the screen.
  line=$(wt list WendrelOptions)
  offset=$(($(field "$line" x) - (1024 - $(field "$line" w)) / 2))
  check "the dialog is centred" [ "${offset#-}" -le 1 ]
  check "the menu opens the Tab Management page" page_shown "For selection, click a row"
  check "one row per tab" waits '[ "$(list_rows "$DIALOG" 6 | cut -d"|" -f1-5 | paste -sd";" -)" = "|1||alpha.com/|http://www.alpha.com/;|2||beta.org/x|http://www.beta.org/x;|3||gamma.net/|http://www.gamma.net/" ]'
  screenshot dialog-tab-management
  click_row "$DIALOG" 6 1
  check "a click marks the row" waits 'marks_are ,X,'
  empty_shell_log
  click_control "$DIALOG" "Close All Selected IE"
  check "the marked row's browser closes" wt wait-gone IEFrame "$WAIT" "Beta Page"
  check "through its automation, and no other" on_standin equals "$(grep '^Quit ' "$SHELL_LOG")" "Quit $beta"
  check "its tab goes" waits 'captions_are alpha.com/,gamma.net/'
  check "the page lists the tabs left" waits '[ "$(list_rows "$DIALOG" 6 | wc -l)" = 2 ]'

  wt close WendrelOptions
  check "closing the dialog unloads it" waits '! wt list WendrelOptions | grep -q hwnd'

  click_at "$(strip_tab 1)"
  check "a click on tab 1 brings its window forward" wait_until "$WAIT" foreground_title_is "Alpha Page"
  check "tab 1 is selected" equals "$(selected_tab)" 1
  # A click on the selected tab brings its minimised window back; each click is handled once
  # (one walk of the shell's collection for the window's details).
  wt showwindow "Alpha Page" 6 # SW_MINIMIZE
  wait_until "$WAIT" iconic "Alpha Page" 1 || return 1
  empty_shell_log
  click_at "$(strip_tab 1)"
  check "a click on the selected tab restores its window" wait_until "$WAIT" iconic "Alpha Page" 0
  check "and brings it forward" wait_until "$WAIT" foreground_title_is "Alpha Page"
  check "laid over the work area above the strip" equals "$(geometry "$(frame "Alpha Page")")" 0,0,1024,723
  check "the tab stays selected" equals "$(selected_tab)" 1
  check "the click is handled once" on_standin equals "$(enumerations)" 1
  empty_shell_log
  click_at "$(strip_tab 2)"
  check "a click on another tab brings its window forward" wait_until "$WAIT" foreground_title_is "Gamma Page"
  check "that click is handled once too" on_standin equals "$(enumerations)" 1
  # A press on another tab selects it; dragged off the strip and let go, it is no click, and the
  # next click on that tab, now the selected one, counts in full.
  drag_off_tab "" alpha.com/
  waits '[ "$(selected_tab)" = 1 ]' || return 1
  wt showwindow "Alpha Page" 6
  wait_until "$WAIT" iconic "Alpha Page" 1 || return 1
  click_at "$(strip_tab 1)"
  check "after a press dragged off the strip, a click on the selected tab restores its window" \
    wait_until "$WAIT" iconic "Alpha Page" 0
  click_at "$(strip_tab 2)" 3
  check "a right click on a tab opens the menu" quietly wt wait-window '#32768' 0 "$WAIT"
  check "and selects the tab" equals "$(selected_tab)" 2
  check "its window comes forward" waits 'wt list IEFrame | head -n1 | grep -q "title=Gamma Page"'
  close_menu

  # An announced work area (Wine 8 keeps a running program's first one, so it is the same one:
  # the new edges are shown on the simulated desktop) lays the windows the user moved again.
  for title in Alpha Gamma; do wt move IEFrame "$title Page" 100 100 300 200; done
  check "the windows were moved" waits '! windows_laid'
  wt announce-workarea
  check "an announced work area lays the windows above the strip again" wait_until "$WAIT" windows_laid
  check "the strip stays on the bottom edge" equals "$(geometry "$(wt list WendrelStrip)")" 0,723,1024,25

  click_at "$(strip_tab 1)"
  waits '[ "$(selected_tab)" = 1 ]' || return 1
  empty_shell_log
  active_tab stop || return 1
  check "the active tab's Stop reaches its browser" browser_told Stop "$alpha"
  active_tab refresh || return 1
  check "the active tab's Refresh reaches its browser" browser_told Refresh "$alpha"
  check "no other browser was stopped or refreshed" on_standin equals "$(grep -cE "^(Stop|Refresh) " "$SHELL_LOG")" 2
  close_wendrel 7
  check "answered No, the program keeps running" equals "$(wt wait-exit "$PID" 1)" running
}
