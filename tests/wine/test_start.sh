# Start-up, a second instance, and the options file written at shutdown.

test_strip_lies_on_the_bottom_of_the_work_area() {
  local folder pid line ms
  folder=$(new_folder strip "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  pid=$PID
  line=$(wt wait-window WendrelStrip "$pid" "$WAIT")
  check "the strip window appears" [ -n "$(field "$line" hwnd)" ] || return 1
  ms=$(field "$line" ms)
  log "   launch to strip visible: $ms ms (from process start)"
  echo "$ms" >"$ARTEFACTS/launch-to-strip-ms.txt"
  # Work area 0,0,1024,748: one row of tabs is 345 twips, 23 pixels at 96 dpi.
  check "strip at the left edge" equals "$(field "$line" x)" 0
  check "strip on the work area's bottom" equals "$(field "$line" y)" 725
  check "strip as wide as the work area" equals "$(field "$line" w)" 1024
  check "strip one row of tabs high" equals "$(field "$line" h)" 23
  check "strip is a tool window" [ $(($(field "$line" exstyle) & 0x80)) -ne 0 ]
  check "strip has no tabs yet" equals "$(wt tabs | head -n1 | cut -d" " -f1)" "count=0"
  screenshot strip-empty
}

test_second_instance_says_so_and_ends() {
  local folder first second text exit
  folder=$(new_folder second "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  first=$PID
  wt wait-window WendrelStrip "$first" "$WAIT" >/dev/null || return 1
  start_wendrel "$folder" || return 1
  second=$PID
  text=$(wt answer Wendrel 1 "$WAIT")
  check "the second instance tells that Wendrel runs" equals "$text" "Wendrel is already running."
  exit=$(wt wait-exit "$second" "$WAIT")
  # A process that ended before the tool looked for it is gone, with its exit code.
  check "the second instance ends ($exit)" grep -qxE 'exit=0|gone' <<<"$exit"
  check "the first instance keeps running" equals "$(wt wait-exit "$first" 0.5)" "running"
  check "one strip window" equals "$(wt list WendrelStrip | wc -l)" 1
}

test_first_start_reports_missing_options_and_shutdown_writes_defaults() {
  local folder pid text expected
  folder=$(new_folder first)
  start_wendrel "$folder" || return 1
  pid=$PID
  text=$(wt answer WENDREL 1 "$WAIT")
  check "the read error is reported" [ "${text#Error encountered while reading the options.}" != "$text" ] ||
    log "    got: $text"
  # ConfirmGroup is on by default: the dialog opens at start.
  check "the dialog opens at start" quietly wt wait-window WendrelOptions "$pid" "$WAIT"
  wt wait-window WendrelStrip "$pid" "$WAIT" >/dev/null
  wt close WendrelStrip
  text=$(wt answer Wendrel 6 "$WAIT")
  check "closing asks first" equals "$text" "Are you sure you want to close Wendrel?"
  # SaveOnExit is on and no browser is open: the notice that nothing was saved.
  text=$(wt answer Wendrel 1 "$WAIT")
  check "saving the default group finds no windows" [ "${text#As there are no IE windows open}" != "$text" ]
  check "the program ends" equals "$(wt wait-exit "$pid" "$WAIT")" "exit=0"
  expected=$(printf '"DEFAULT","**UNKNOWN**",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,8\r\n%s\r\n' \
    "$OPTIONS_HEADER" | od -c)
  check "the options file holds the defaults" equals "$(od -c <"$folder/Wendrel.CFG")" "$expected"
  check "no temporary file is left" [ ! -e "$folder/Wendrel.CFG.new" ]
}

test_closing_answered_no_keeps_running() {
  local folder pid
  folder=$(new_folder keep "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  pid=$PID
  wt wait-window WendrelStrip "$pid" "$WAIT" >/dev/null || return 1
  wt close WendrelStrip
  check "closing asks first" equals "$(wt answer Wendrel 7 "$WAIT")" "Are you sure you want to close Wendrel?"
  check "the program keeps running" equals "$(wt wait-exit "$pid" 1)" "running"
  check "the strip stays" quietly wt wait-window WendrelStrip "$pid" "$WAIT"
  check "the options file is untouched" equals "$(head -n1 "$folder/Wendrel.CFG" | tr -d '\r')" "$QUIET_OPTIONS"
}
