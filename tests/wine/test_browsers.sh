# Today's browsers' windows as tabs: the test tool copied to browsers' names plays Edge, Chrome
# and Firefox (and code.exe a program that is no browser).

HTTPS_COMMAND='HKLM\Software\Classes\https\shell\open\command'

# The copies, made once a session; their logs are emptied for each test.
browsers_dir() {
  local dir="${WORK:?}/browsers" name
  mkdir -p "$dir"
  for name in msedge chrome firefox code; do [ -f "$dir/$name.exe" ] || cp "$WTOOL" "$dir/$name.exe"; done
  echo "$dir"
}
fresh_browser_logs() { rm -f "$(browsers_dir)"/*.exe.log; }
browser_log() { tr -d '\r' 2>/dev/null <"$(browsers_dir)/$1.exe.log"; }
# open_browser <exe> <class> <count> <title> <address> [hang]: '#' is the window's number.
open_browser() {
  wine "$(browsers_dir)/$1.exe" frames "${@:2}" >/dev/null 2>&1 </dev/null &
  FRAME_PIDS+=($!)
}

test_browser_windows_become_tabs_take_the_tab_commands_and_open_the_help_page() {
  local i original
  fresh_browser_logs
  new_folder browsers "$(options DEFAULT FTFTF 40)"
  start_strip || return 1
  open_browser msedge Chrome_WidgetWin_1 1 "News - Microsoft Edge" "news.example.org/today"
  wt wait-window Chrome_WidgetWin_1 0 "$WAIT" "News - Microsoft Edge" >/dev/null || return 1
  open_browser firefox MozillaWindowClass 1 "Docs — Mozilla Firefox" "https://docs.example.org/"
  open_browser code Chrome_WidgetWin_1 1 "main.cpp - Editor" "main.cpp"
  open_browser msedge Chrome_WidgetWin_2 1 "Edge video" "video"
  check "Edge and Firefox get tabs" wait_until "$WAIT" tab_count_is 2 || return 1
  wt wait-window Chrome_WidgetWin_1 0 "$WAIT" "main.cpp - Editor" >/dev/null
  check "captions come from the addresses read, a scheme put before a bare one" \
    waits 'captions_are https://news.example.org/today,https://docs.example.org/'
  check "another program of the same window class, and a browser's other windows, get none" tab_count_is 2

  # Navigation: the address changes, then the title; the caption follows the new address.
  wt settext "News - Microsoft Edge" 0 "news.example.org/tomorrow"
  wt settext "News - Microsoft Edge" title "Tomorrow - Microsoft Edge"
  check "a renamed window's address is read again" \
    waits 'captions_are https://news.example.org/tomorrow,https://docs.example.org/'
  click_at "$(strip_tab 1)"
  check "a click brings the browser window forward" wait_until "$WAIT" foreground_title_is "Tomorrow - Microsoft Edge"
  active_tab refresh
  check "Refresh reaches the page as the browser-refresh command" waits 'browser_log msedge | grep -q "^appcommand 3 "'
  active_tab stop
  check "Stop reaches it as the browser-stop command" waits 'browser_log msedge | grep -q "^appcommand 4 "'
  active_tab close
  wt answer Wendrel 6 "$WAIT" >/dev/null
  check "Close asks the window to close" waits 'browser_log msedge | grep -q "^close "'
  check "the window hides, goes, and its tab with it" wait_until "$WAIT" tab_count_is 1
  check "the other tab stays" captions_are https://docs.example.org/
  check "no command reached the other programs" eval '! browser_log firefox | grep -qE "^(appcommand|close) " &&
    ! browser_log code | grep -qE "^(appcommand|close) "'

  # Caption width 40: five long captions beside it need two rows on a 1024-pixel strip. The
  # lowest row's tabs start 19 pixels (285 twips) down: 345 + 285 twips = 42 pixels.
  for i in 1 2 3 4 5; do open_frame IEFrame "Page $i" "http://www.site$i.example.org/a/rather/long/path/to/page/$i"; done
  check "six tabs" wait_until "$WAIT" tab_count_is 6 || return 1
  check "two rows" waits '[ "$(wt tabs | head -n1 | cut -d" " -f3)" = rows=2 ]'
  check "the strip grows upwards to two rows" waits '[ "$(geometry "$(wt list WendrelStrip)")" = 0,706,1024,42 ]'
  check "the active window ends where the strip begins" equals "$(field "$(frame "Page 5")" h)" 706
  screenshot strip-two-rows

  # "Info" opens the help page in a new window of the default browser, which gets a tab.
  original=$(wine reg query "$HTTPS_COMMAND" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
  wine reg add "$HTTPS_COMMAND" /ve /d "\"$(winpath "$(browsers_dir)/msedge.exe")\" --single-argument %1" /f >/dev/null 2>&1
  open_tray_menu && menu_click info
  check "the help page opens in a new window of the default browser" \
    waits 'browser_log msedge | grep -q "^started .* --new-window \"\\?file:.*WENDREL.HTM"'
  check "its window gets a tab" wait_until "$WAIT" tab_count_is 7
  wine reg add "$HTTPS_COMMAND" /ve /d "$original" /f >/dev/null 2>&1
}

test_a_hung_browser_holds_up_neither_the_strip_nor_its_tabs() {
  local out
  fresh_browser_logs
  new_folder browser-hang "$(options DEFAULT FTFTF 40)"
  start_strip || return 1
  open_browser msedge Chrome_WidgetWin_1 1 "Quick - Microsoft Edge" "quick.example.org/"
  wait_until "$WAIT" tab_count_is 1 || return 1
  open_browser chrome Chrome_WidgetWin_1 1 "Stuck - Google Chrome" "stuck.example.org/" hang
  check "the hung browser gets its tab" wait_until "$WAIT" tab_count_is 2 || return 1
  check "the program asked the hung browser for its address" waits 'browser_log chrome | grep -q "^hang"'
  xdotool mousemove $(center "$(strip_tab 1)")
  out=$(wt click-front "Quick - Microsoft Edge" "$WAIT")
  check "a tab click brings its window forward while another browser hangs" [ -n "$out" ] || return 1
  check "the browser still hung at the click: nothing held up the strip until then" \
    eval '! browser_log chrome | grep -q "^read ms="'
  figure "click-while-hung-ms-$SHELL_MODE" "${out#ms=}" "tab click to window in front while a browser hangs 10 s (ms)"
  check "the hung browser's tab is captioned by its title" waits 'captions_are https://quick.example.org/,Stuck'
}
