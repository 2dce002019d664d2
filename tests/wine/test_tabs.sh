# Browser windows become tabs: order, styles, placement, raising by a click, removal.

test_three_windows_give_three_tabs() {
  local folder pid line title i
  folder=$(new_folder tabs "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  pid=$PID
  wt wait-window WendrelStrip "$pid" "$WAIT" >/dev/null || return 1
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  open_frame IEFrame "Beta Page" "http://www.beta.org/x"
  open_frame IEFrame "Gamma Page" "http://www.gamma.net/"
  check "three tabs appear" wait_until "$WAIT" tab_count_is 3 || return 1
  wait_until "$WAIT" eval '[ "$(tab_captions)" = "alpha.com/,beta.org/x,gamma.net/" ]'
  check "tabs in opening order, captioned from their URLs" equals "$(tab_captions)" "alpha.com/,beta.org/x,gamma.net/"
  check "the last tab is selected" equals "$(selected_tab)" 3
  for title in "Alpha Page" "Beta Page" "Gamma Page"; do
    line=$(wt list IEFrame | grep "title=$title\$")
    # The frame was made with WS_EX_APPWINDOW; only the tool-window style is left.
    check "$title is a tool window only" equals "$(exstyle_of "$line")" 0x80
    # A new window is laid above the strip as high as the strip is at that moment: 23 pixels
    # before the first tab, 25 once tabs (2 pixels below the control's top) fit it.
    check "$title lies over the work area above the strip" \
      grep -qE '^0,0,1024,72[35]$' <<<"$(field "$line" x),$(field "$line" y),$(field "$line" w),$(field "$line" h)"
  done
  # The selected tab's window is laid again after the strip was fitted: it meets the strip.
  line=$(wt list IEFrame | grep "title=Gamma Page\$")
  check "the selected tab's window ends where the strip begins" equals "$(field "$line" h)" 723
  line=$(wt list WendrelStrip)
  check "the strip is fitted to its row of tabs" equals "$(field "$line" y),$(field "$line" h)" "723,25"
  screenshot strip-with-tabs
  convert "$ARTEFACTS/strip-with-tabs.png" -crop 1024x25+0+723 "$ARTEFACTS/strip-with-tabs-crop.png" 2>/dev/null

  # A click on the first tab brings its window to the front.
  line=$(wt tabs | grep '^tab=1 ')
  xdotool mousemove $(($(field "$line" x) + $(field "$line" w) / 2)) $(($(field "$line" y) + $(field "$line" h) / 2)) click 1
  check "clicking tab 1 raises its window" wait_until "$WAIT" foreground_title_is "Alpha Page"
  check "tab 1 is selected" equals "$(selected_tab)" 1

  # A window that closes loses its tab.
  wt close IEFrame "Beta Page"
  check "a closed window's tab goes" wait_until "$WAIT" tab_count_is 2
  check "the other tabs stay" equals "$(tab_captions)" "alpha.com/,gamma.net/"
}

test_right_click_on_a_tab_selects_it_and_opens_the_menu() {
  local folder line
  folder=$(new_folder rclick "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  open_frame IEFrame "Beta Page" "http://www.beta.org/x"
  wait_until "$WAIT" tab_count_is 2 || return 1
  wait_until "$WAIT" eval '[ "$(selected_tab)" = 2 ]'
  line=$(wt tabs | grep '^tab=1 ')
  xdotool mousemove $(($(field "$line" x) + $(field "$line" w) / 2)) $(($(field "$line" y) + $(field "$line" h) / 2)) click 3
  check "the menu opens" quietly wt wait-window '#32768' 0 "$WAIT"
  check "the tab under the mouse is selected" equals "$(selected_tab)" 1
  check "its window comes forward" wait_until "$WAIT" eval 'wt list IEFrame | head -n1 | grep -q "title=Alpha Page"'
  xdotool key Escape
  wt wait-gone '#32768' "$WAIT"
}

test_a_second_row_of_tabs_grows_the_strip_upwards() {
  local folder line i
  # Caption width 40: five long captions need two rows on a 1024-pixel strip.
  folder=$(new_folder rows '"DEFAULT","**UNKNOWN**",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#TRUE#,#FALSE#,40')
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  for i in 1 2 3 4 5; do
    open_frame IEFrame "Page $i" "http://www.site$i.example.org/a/rather/long/path/to/page/$i"
  done
  check "five tabs" wait_until "$WAIT" tab_count_is 5 || return 1
  check "two rows" wait_until "$WAIT" eval '[ "$(wt tabs | head -n1 | cut -d" " -f3)" = rows=2 ]'
  # The lowest row's tabs start 19 pixels (285 twips) down: 345 + 285 twips = 42 pixels.
  line=$(wt list WendrelStrip)
  check "the strip grows to two rows" equals "$(field "$line" y),$(field "$line" h)" "706,42"
  line=$(wt list IEFrame | grep "title=Page 5\$")
  check "the active window ends where the strip begins" equals "$(field "$line" h)" 706
  screenshot strip-two-rows
}

test_a_tab_shows_its_url_as_tooltip() {
  local folder line
  folder=$(new_folder tooltip "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  open_frame IEFrame "Beta Page" "http://www.beta.org/x"
  wait_until "$WAIT" tab_count_is 2 || return 1
  # The pointer may still rest where an earlier test left it, over tab 1: without a move onto
  # the tab there is no hover.
  xdotool mousemove 512 300
  line=$(wt tabs | grep '^tab=1 ')
  xdotool mousemove $(($(field "$line" x) + $(field "$line" w) / 2)) $(($(field "$line" y) + $(field "$line" h) / 2))
  check "hovering tab 1 shows its URL" quietly wt wait-window tooltips_class32 "$PID" "$WAIT" "http://www.alpha.com/"
  screenshot tab-tooltip
  line=$(wt tabs | grep '^tab=2 ')
  xdotool mousemove $(($(field "$line" x) + $(field "$line" w) / 2)) $(($(field "$line" y) + $(field "$line" h) / 2))
  check "hovering tab 2 shows its URL" quietly wt wait-window tooltips_class32 "$PID" "$WAIT" "http://www.beta.org/x"
  xdotool mousemove 512 300
}

test_a_click_on_the_selected_tab_brings_its_window_back() {
  local folder line
  folder=$(new_folder reclick "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  open_frame IEFrame "Beta Page" "http://www.beta.org/x"
  wait_until "$WAIT" tab_count_is 2 || return 1
  wait_until "$WAIT" eval '[ "$(selected_tab)" = 2 ]' || return 1
  wt showwindow "Beta Page" 6 # SW_MINIMIZE
  wait_until "$WAIT" eval '[ "$(wt iconic "Beta Page")" = iconic=1 ]' || return 1
  if in_standin_mode; then : >"$SHELL_LOG"; fi
  click_strip_tab 2
  check "a click on the selected tab restores its window" \
    wait_until "$WAIT" eval '[ "$(wt iconic "Beta Page")" = iconic=0 ]'
  check "and brings it forward" wait_until "$WAIT" foreground_title_is "Beta Page"
  line=$(wt list IEFrame | grep "title=Beta Page\$")
  check "laid over the work area above the strip" equals "$(field "$line" y),$(field "$line" h)" "0,723"
  check "the tab stays selected" equals "$(selected_tab)" 2
  if in_standin_mode; then
    # The click's handling reads the window's details afresh: one walk of the collection.
    check "the click is handled once" equals "$(enumerations)" 1
    : >"$SHELL_LOG"
    click_strip_tab 1
    check "a click on another tab brings its window forward" wait_until "$WAIT" foreground_title_is "Alpha Page"
    check "that click is handled once too" equals "$(enumerations)" 1
    click_strip_tab 2
    wait_until "$WAIT" eval '[ "$(selected_tab)" = 2 ]' || return 1
  fi

  # A press on another tab selects it; dragged off the strip and let go, it is no click, and the
  # next click on that tab, now the selected one, counts in full.
  drag_off_tab "" alpha.com/
  wait_until "$WAIT" eval '[ "$(selected_tab)" = 1 ]' || return 1
  wt showwindow "Alpha Page" 6 # SW_MINIMIZE
  wait_until "$WAIT" eval '[ "$(wt iconic "Alpha Page")" = iconic=1 ]' || return 1
  click_strip_tab 1
  check "after a press dragged off the strip, a click on the selected tab restores its window" \
    wait_until "$WAIT" eval '[ "$(wt iconic "Alpha Page")" = iconic=0 ]'
}

test_opening_many_windows_costs_linear_time() {
  local folder linux n before ticks=() figures=""
  folder=$(new_folder many "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  linux=$(linux_pid_of "$folder")
  check "the program's Linux process is found" [ -n "$linux" ] || return 1
  # The pointer stays off the strip: no tip is shown.
  xdotool mousemove 512 300
  for n in 100 300; do
    before=$(cpu_ticks "$linux")
    open_frames IEFrame "$n" "many$n-"
    check "$n windows give $n tabs" wait_until $((WAIT * 3)) tab_count_is "$n" || return 1
    wait_until "$WAIT" eval '[ "$(selected_tab)" = "$n" ] && foreground_title_is Wendrel'
    ticks+=($(($(cpu_ticks "$linux") - before)))
    figures="$figures N=$n: ${ticks[-1]} ticks"
    wt close IEFrame
    check "closing them takes their tabs" wait_until $((WAIT * 5)) tab_count_is 0 || return 1
    close_frames
    # Hundreds of windows take a while to go: the next test must not meet them.
    check "the windows go" wait_until $((WAIT * 5)) eval '[ -z "$(wt list IEFrame)" ]' || return 1
  done
  log "   opening N windows ($SHELL_MODE shell):$figures"
  echo "$figures" >"$ARTEFACTS/many-windows-ticks-$SHELL_MODE.txt"
  # Three times the windows cost about three times as much (3 to 3.8 times measured on the
  # stand-in shell, on a busy machine too); a cost that grew with the square would be nine times.
  # On Wine's own shell the program looks for new windows itself four times a second while they
  # open, and opening 300 takes three times as long as 100: that figure is only logged.
  in_standin_mode || return 0
  check "300 windows cost at most six times what 100 cost ($figures)" [ "${ticks[1]}" -le $((6 * ticks[0] + 10)) ]
}
