# Sharp at any DPI: at 96, 120 and 144 dots per inch the strip is the one-row height the program
# computes for that DPI, its tab text has room, and the dialog is drawn at the DPI; screenshots
# of each are kept.

# restart_desktop_at <dpi>: the prefix's DPI, which its processes read when they start: every
# process of the session is ended and the desktop started again.
restart_desktop_at() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null
  wait "$KEEPER_PID" 2>/dev/null
  STARTED_PIDS=()
  wine explorer /desktop=shell,1024x768 "$WTOOL" keep >/dev/null 2>&1 &
  KEEPER_PID=$!
  # The taskbar's height follows the DPI too: wait for it to take its place.
  wait_until "$WAIT" eval '[ "$(wt workarea | cut -d" " -f4)" -lt 768 ]'
}

# strip_at_dpi <dpi>: the dialog, then the strip with one tab, at that DPI, with screenshots.
strip_at_dpi() {
  local dpi=$1 folder line tab tpp base rowTop expected font
  # The dialog opens at start.
  folder=$(new_folder "dpi$dpi" '"DEFAULT","**UNKNOWN**",#TRUE#,#TRUE#,#TRUE#,#FALSE#,#TRUE#,#FALSE#,8')
  start_wendrel "$folder" || return 1
  wt wait-window WendrelOptions "$PID" "$WAIT" >/dev/null || return 1
  wait_until "$WAIT" control_shown "$DIALOG" "Add Group"
  check "at $dpi DPI every label of Group Management has room for its text" wt clipped "$DIALOG"
  screenshot "dpi$dpi-dialog-groups"
  click_tab "$DIALOG" "&Options"
  check "at $dpi DPI the Options page shows" wait_until "$WAIT" control_shown "$DIALOG" "YES"
  check "at $dpi DPI every label of Options has room for its text" wt clipped "$DIALOG"
  screenshot "dpi$dpi-dialog"
  click_tab "$DIALOG" "&Tab Management"
  check "at $dpi DPI the Tab page shows" wait_until "$WAIT" control_shown "$DIALOG" "For selection, click a row"
  check "at $dpi DPI every label of Tab Management has room for its text" wt clipped "$DIALOG"
  screenshot "dpi$dpi-dialog-tabs"
  wt close WendrelOptions
  wt wait-gone WendrelOptions "$WAIT"

  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  wait_until "$WAIT" tab_count_is 1 || return 1
  line=$(wt list WendrelStrip)
  tab=$(wt tabs | grep '^tab=1 ')
  # One row: the designed 345 twips rounded up to whole pixels, plus the tab row's own top.
  tpp=$((1440 / dpi))
  base=$(((345 + tpp - 1) / tpp))
  rowTop=$(($(field "$tab" y) - $(field "$line" y)))
  expected=$((base + rowTop))
  wait_until "$WAIT" eval '[ "$(field "$(wt list WendrelStrip)" h)" = "$expected" ]'
  line=$(wt list WendrelStrip)
  check "at $dpi DPI the strip is one row high ($base + $rowTop pixels)" equals "$(field "$line" h)" "$expected"
  check "at $dpi DPI the strip lies on the work area's bottom edge" \
    equals "$(($(field "$line" y) + $(field "$line" h)))" "$(wt workarea | cut -d' ' -f4)"
  # The tab font is 11 pixels at 96 DPI, scaled: the tab row has room for it.
  font=$((11 * dpi / 96))
  check "at $dpi DPI the tab is tall enough for its text" [ "$(field "$tab" h)" -ge $((font + 4)) ]
  screenshot "dpi$dpi-strip"
  convert "$ARTEFACTS/dpi$dpi-strip.png" -crop "1024x$((expected + 4))+0+$(($(field "$line" y) - 2))" \
    "$ARTEFACTS/dpi$dpi-strip-crop.png" 2>/dev/null
  stop_wendrels
  close_frames
}

test_the_strip_and_dialog_at_96_120_and_144_dpi() {
  local dpi rc=0
  for dpi in 96 120 144; do
    restart_desktop_at "$dpi" || rc=1
    strip_at_dpi "$dpi" || rc=1
  done
  # The other tests run at 96 DPI.
  restart_desktop_at 96
  return $rc
}

# The dialog moved to a monitor of 144 DPI (the system tells it so; Wine has one DPI for all its
# monitors, so the message is sent as Windows would): the window, its controls and the grid's
# columns grow together by half, and every label keeps room for its text.
test_the_dialog_follows_the_dpi_of_its_monitor() {
  local folder before after grid row
  wendrel_with_one_tab dpimove || return 1
  folder=$FOLDER
  open_tray_menu || return 1
  menu_click options
  wt wait-window WendrelOptions "$PID" "$WAIT" >/dev/null || return 1
  wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 6 | wc -l)" = 1 ]' || return 1
  before=$(wt list WendrelOptions)
  grid=$(wt listview "$DIALOG" 6 | head -n1)
  row=$(wt listview "$DIALOG" 6 | grep '^row=0 ')
  wt post WendrelOptions 0x02E0 0x00900090 0 # WM_DPICHANGED to 144 DPI
  check "the dialog grows by half" wait_until "$WAIT" \
    eval '[ $(($(field "$(wt list WendrelOptions)" w) * 2)) -ge $(($(field "$before" w) * 3 - 20)) ]'
  after=$(wt listview "$DIALOG" 6)
  check "the grid grows by half" \
    [ $(($(field "$after" w) * 2)) -ge $(($(field "$grid" w) * 3 - 8)) ] || return 1
  # The columns' widths, summed up in the row's width, keep their share of the grid's.
  check "the grid's columns grow with it" \
    [ $((100 * $(field "$(grep '^row=0 ' <<<"$after")" w) / $(field "$after" w))) -ge \
      $((100 * $(field "$row" w) / $(field "$grid" w) - 2)) ]
  check "every label of Tab Management has room for its text" wt clipped "$DIALOG"
  screenshot dialog-moved-to-144-dpi
}
