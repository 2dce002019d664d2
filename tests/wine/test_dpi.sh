# Sharp at 120, 144 and 96 DPI: every label of the dialog has room for its text, the strip is one
# row high and its tab text has room; at 96 the dialog follows a move to a monitor of 144 DPI.

# restart_desktop_at <dpi>: the prefix's DPI, read by processes as they start: all start again.
restart_desktop_at() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null # no process of the old server may meet the new desktop
  wait "$KEEPER_PID" 2>/dev/null
  STARTED_PIDS=()
  start_desktop
}

# labels_fit <dpi> <page> <text-shown> <screenshot>: the page shows, every label with room.
labels_fit() {
  [ -n "$2" ] && click_tab "$DIALOG" "$2"
  check "at $1 DPI the page $2 shows" page_shown "$3"
  check "at $1 DPI every label of $2 has room for its text" wt clipped "$DIALOG"
  screenshot "dpi$1-$4"
}

strip_and_dialog_at() {
  local dpi=$1 line tab expected before grid row after
  # The dialog opens at start, on Group Management.
  new_folder "dpi$dpi" "$(options DEFAULT TTFTF 8)"
  start_wendrel || return 1
  wt wait-window WendrelOptions "$PID" "$WAIT" >/dev/null || return 1
  labels_fit "$dpi" "" "Add Group" dialog-groups
  check "at $dpi DPI a tray click brings the dialog over a new window" dialog_over_new_window || return 1
  labels_fit "$dpi" "&Options" "YES" dialog
  labels_fit "$dpi" "&Tab Management" "For selection, click a row" dialog-tabs
  if [ "$dpi" = 96 ]; then
    # Moved to a monitor of 144 DPI (the system tells the dialog so; Wine has one DPI for all its
    # monitors, so the message is sent as Windows would): the window, its controls and the
    # grid's columns grow together by half, and every label keeps room for its text.
    waits '[ "$(list_rows "$DIALOG" 6 | wc -l)" = 1 ]' || return 1
    before=$(wt list WendrelOptions)
    grid=$(wt listview "$DIALOG" 6 | head -n1)
    row=$(wt listview "$DIALOG" 6 | grep '^row=0 ')
    wt post WendrelOptions 0x02E0 0x00900090 0 # WM_DPICHANGED to 144 DPI
    check "the dialog grows by half" \
      waits '[ $(($(field "$(wt list WendrelOptions)" w) * 2)) -ge $(($(field "$before" w) * 3 - 20)) ]'
    after=$(wt listview "$DIALOG" 6)
    check "the grid grows by half" [ $(($(field "$after" w) * 2)) -ge $(($(field "$grid" w) * 3 - 8)) ] || return 1
    # The columns' widths, summed up in the row's width, keep their share of the grid's.
    check "the grid's columns grow with it" [ $((100 * $(field "$(grep '^row=0 ' <<<"$after")" w) / $(field "$after" w))) \
      -ge $((100 * $(field "$row" w) / $(field "$grid" w) - 2)) ]
    check "every label of Tab Management still has room for its text" wt clipped "$DIALOG"
    screenshot dialog-moved-to-144-dpi
  fi
  wt close WendrelOptions
  wt wait-gone WendrelOptions "$WAIT"

  # One row: the designed 345 twips rounded up to whole pixels, plus the tab row's own top.
  line=$(wt list WendrelStrip)
  tab=$(strip_tab 1)
  expected=$(((345 * dpi + 1439) / 1440 + $(field "$tab" y) - $(field "$line" y)))
  check "at $dpi DPI the strip is one row high" waits '[ "$(field "$(wt list WendrelStrip)" h)" = "$expected" ]'
  line=$(wt list WendrelStrip)
  check "at $dpi DPI the strip lies on the work area's bottom edge" \
    equals "$(($(field "$line" y) + $(field "$line" h)))" "$(wt workarea | cut -d' ' -f4)"
  # The tab font is 11 pixels at 96 DPI, scaled: the tab row has room for it.
  check "at $dpi DPI the tab is tall enough for its text" [ "$(field "$tab" h)" -ge $((11 * dpi / 96 + 4)) ]
  screenshot "dpi$dpi-strip"
  crop "dpi$dpi-strip" $((expected + 4)) $(($(field "$line" y) - 2))
  stop_wendrels
  close_frames
}

test_the_strip_and_dialog_at_120_144_and_96_dpi() {
  local dpi rc=0
  # The other tests run at 96 DPI: it comes last.
  for dpi in 120 144 96; do
    restart_desktop_at "$dpi" && strip_and_dialog_at "$dpi" || rc=1
  done
  return $rc
}
