# Today's browsers' windows as tabs: the test tool copied to browsers' names plays Edge, Chrome
# and Firefox (and code.exe a program that is no browser). Figures go to the artefacts.

WIDE_OPTIONS='"DEFAULT","**UNKNOWN**",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#TRUE#,#FALSE#,40'
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
# open_browser <exe> <class> <count> <title> <address> [hang]: windows of one browser process;
# '#' in the title and address is the window's number.
open_browser() {
  wine "$(browsers_dir)/$1.exe" browser "$2" "$3" "$4" "$5" ${6:+"$6"} >/dev/null 2>&1 </dev/null &
  FRAME_PIDS+=($!)
}
# Runs a browser's copy of the test tool, as wt runs the tool.
bt() {
  local exe=$1 out
  shift
  out=$(wine "$(browsers_dir)/$exe.exe" "$@" 2>/dev/null </dev/null)
  printf '%s\n' "${out//$'\r'/}"
}
median_of() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }

test_browser_windows_become_tabs_and_take_the_tab_commands() {
  local folder
  fresh_browser_logs
  folder=$(new_folder browsers "$WIDE_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  open_browser msedge Chrome_WidgetWin_1 1 "News - Microsoft Edge" "news.example.org/today"
  wt wait-window Chrome_WidgetWin_1 0 "$WAIT" "News - Microsoft Edge" >/dev/null || return 1
  open_browser firefox MozillaWindowClass 1 "Docs — Mozilla Firefox" "https://docs.example.org/"
  open_browser code Chrome_WidgetWin_1 1 "main.cpp - Editor" "main.cpp"
  open_browser msedge Chrome_WidgetWin_2 1 "Edge video" "video"
  check "Edge and Firefox get tabs" wait_until "$WAIT" tab_count_is 2 || return 1
  wt wait-window Chrome_WidgetWin_1 0 "$WAIT" "main.cpp - Editor" >/dev/null
  check "captions come from the addresses read, a scheme put before a bare one" wait_until "$WAIT" \
    eval '[ "$(tab_captions)" = "https://news.example.org/today,https://docs.example.org/" ]'
  check "another program of the same window class, and a browser's other windows, get none" tab_count_is 2

  # Navigation: the address changes, then the title; the caption follows the new address.
  wt settext "News - Microsoft Edge" 0 "news.example.org/tomorrow"
  wt title "News - Microsoft Edge" "Tomorrow - Microsoft Edge"
  check "a renamed window's address is read again" wait_until "$WAIT" \
    eval '[ "$(tab_captions)" = "https://news.example.org/tomorrow,https://docs.example.org/" ]'

  click_strip_tab 1
  check "a click brings the browser window forward" wait_until "$WAIT" foreground_title_is "Tomorrow - Microsoft Edge"
  open_tray_menu && menu_click active && submenu_click refresh
  check "Refresh reaches the page as the browser-refresh command" wait_until "$WAIT" \
    eval 'browser_log msedge | grep -q "^appcommand 3 "'
  open_tray_menu && menu_click active && submenu_click stop
  check "Stop reaches it as the browser-stop command" wait_until "$WAIT" \
    eval 'browser_log msedge | grep -q "^appcommand 4 "'
  open_tray_menu && menu_click active && submenu_click close
  wt answer Wendrel 6 "$WAIT" >/dev/null
  check "Close asks the window to close" wait_until "$WAIT" eval 'browser_log msedge | grep -q "^close "'
  check "the window hides, goes, and its tab with it" wait_until "$WAIT" tab_count_is 1
  check "the other tab stays" equals "$(tab_captions)" "https://docs.example.org/"
  check "no command reached the other programs" \
    eval '! browser_log firefox | grep -qE "^(appcommand|close) " && ! browser_log code | grep -qE "^(appcommand|close) "'
}

test_browser_figures_window_to_tab_address_reads_and_idle() {
  local folder out median reads ticks
  fresh_browser_logs
  folder=$(new_folder browser-figures "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  out=$(bt msedge time-to-tab 7 "$WAIT" Chrome_WidgetWin_1)
  median=$(sed -n 's/^median=//p' <<<"$out")
  check "every browser window got its tab" [ -n "$median" ] || return 1
  log "   browser window to tab ($SHELL_MODE shell): median $median ms; each: $(sed -n 's/^ms=//p' <<<"$out" | paste -sd' ' -)"
  echo "$median" >"$ARTEFACTS/browser-window-to-tab-median-ms-$SHELL_MODE.txt"
  wait_until "$WAIT" tab_count_is 0 || return 1
  # The reads counted below are the ten windows' own.
  fresh_browser_logs

  open_browser msedge Chrome_WidgetWin_1 10 "Idle # - Microsoft Edge" "idle#.example.org/"
  check "ten browser windows give ten tabs" wait_until "$WAIT" tab_count_is 10 || return 1
  check "and their addresses are read" wait_until "$WAIT" eval '[ "$(browser_log msedge | grep -c "^read ms=")" -ge 10 ]'
  # Idle from here: every tab shows its address, so every read has been taken in.
  check "every tab is captioned by its address" wait_until "$WAIT" eval '! tab_captions | grep -q "Idle "'
  reads=$(browser_log msedge | sed -n 's/^read ms=//p' | median_of)
  log "   address read, from the request for the tree to the value ($SHELL_MODE shell): median $reads ms"
  echo "$reads" >"$ARTEFACTS/address-read-median-ms-$SHELL_MODE.txt"
  ticks=$(idle_ticks "$folder")
  check "the program's Linux process is found" [ -n "$ticks" ] || return 1
  log "   idle CPU with 10 browser windows over 20 s ($SHELL_MODE shell): $ticks ticks"
  echo "$ticks" >"$ARTEFACTS/browser-idle-cpu-ticks-$SHELL_MODE.txt"
  # With Wine's shell the program still looks for the shell's windows itself, four times a second.
  if in_standin_mode; then check "idling with ten browser tabs costs no CPU" equals "$ticks" 0; fi
}

test_a_hung_browser_holds_up_neither_the_strip_nor_its_tabs() {
  local folder line out
  fresh_browser_logs
  folder=$(new_folder browser-hang "$WIDE_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  open_browser msedge Chrome_WidgetWin_1 1 "Quick - Microsoft Edge" "quick.example.org/"
  wait_until "$WAIT" tab_count_is 1 || return 1
  open_browser chrome Chrome_WidgetWin_1 1 "Stuck - Google Chrome" "stuck.example.org/" hang
  check "the hung browser gets its tab" wait_until "$WAIT" tab_count_is 2 || return 1
  check "the program asked the hung browser for its address" wait_until "$WAIT" eval 'browser_log chrome | grep -q "^hang"'
  line=$(wt tabs | grep '^tab=1 ')
  xdotool mousemove $(($(field "$line" x) + $(field "$line" w) / 2)) $(($(field "$line" y) + $(field "$line" h) / 2))
  out=$(wt click-front "Quick - Microsoft Edge" "$WAIT")
  check "a tab click brings its window forward while another browser hangs" [ -n "$out" ] || return 1
  check "the browser still hung at the click: nothing held up the strip until then" \
    eval '! browser_log chrome | grep -q "^read ms="'
  log "   tab click to window in front while a browser hangs 10 s ($SHELL_MODE shell): ${out#ms=} ms"
  echo "${out#ms=}" >"$ARTEFACTS/click-while-hung-ms-$SHELL_MODE.txt"
  check "the hung browser's tab is captioned by its title" wait_until "$WAIT" \
    eval '[ "$(tab_captions)" = "https://quick.example.org/,Stuck" ]'
}

test_a_burst_of_a_hundred_browser_windows_gives_a_hundred_tabs() {
  local folder start
  fresh_browser_logs
  folder=$(new_folder browser-burst "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  start=$(date +%s%N)
  open_browser msedge Chrome_WidgetWin_1 100 "Burst # - Microsoft Edge" "burst#.example.org/"
  check "a hundred tabs" wait_until "$((WAIT * 3))" tab_count_is 100 || return 1
  log "   100 browser windows to 100 tabs ($SHELL_MODE shell): $((($(date +%s%N) - start) / 1000000)) ms"
  echo "$((($(date +%s%N) - start) / 1000000))" >"$ARTEFACTS/browser-burst-100-ms-$SHELL_MODE.txt"
}

test_the_help_page_opens_in_the_default_browser() {
  local folder original
  fresh_browser_logs
  original=$(wine reg query "$HTTPS_COMMAND" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
  wine reg add "$HTTPS_COMMAND" /ve /d "\"$(winpath "$(browsers_dir)/msedge.exe")\" --single-argument %1" /f >/dev/null 2>&1
  folder=$(new_folder browser-default "$WIDE_OPTIONS")
  start_wendrel "$folder"
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null
  open_tray_menu && menu_click info
  check "the help page opens in a new window of the default browser" wait_until "$WAIT" \
    eval 'browser_log msedge | grep -q "^started .* --new-window \"\\?file:.*WENDREL.HTM"'
  check "its window gets a tab" wait_until "$WAIT" tab_count_is 1
  wine reg add "$HTTPS_COMMAND" /ve /d "$original" /f >/dev/null 2>&1
}
