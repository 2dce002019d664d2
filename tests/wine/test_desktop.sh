# The strip follows the desktop: when the system announces a new work area, the strip is fitted
# to it again and every tracked window is laid above the strip again.
#
# Wine 8 keeps each process's work area from the first time it was read (SPI_GETWORKAREA in a
# running program never changes, even after a display change), so here the announced work area is
# the one the program already has: what shows is that the announcement reaches the program and
# that the windows are laid again. The new edges themselves are shown on the simulated desktop.

# windows_laid <top>: every stand-in window lies over the work area, ending where the strip begins.
windows_laid() {
  local frame
  while IFS= read -r frame; do
    [ "$(field "$frame" x),$(field "$frame" y),$(field "$frame" w),$(field "$frame" h)" = "0,0,1024,$1" ] || return 1
  done < <(wt list IEFrame | grep 'visible=1')
}

test_an_announced_work_area_lays_the_windows_again() {
  local folder line top started elapsed title
  folder=$(new_folder desktop "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  open_frame IEFrame "Beta Page" "http://www.beta.org/x"
  open_frame IEFrame "Gamma Page" "http://www.gamma.net/"
  check "three tabs appear" wait_until "$WAIT" tab_count_is 3 || return 1
  line=$(wt list WendrelStrip)
  top=$(field "$line" y)
  check "the strip lies on the work area's bottom edge" equals "$((top + $(field "$line" h)))" 748
  # The user moves the windows away.
  for title in "Alpha Page" "Beta Page" "Gamma Page"; do wt move IEFrame "$title" 100 100 300 200; done
  check "the windows were moved" wait_until "$WAIT" eval '! windows_laid "$top"'

  started=$(date +%s%N)
  wt set-workarea 0 0 1024 748
  check "the announcement lays all three windows above the strip again" wait_until "$WAIT" windows_laid "$top"
  elapsed=$((($(date +%s%N) - started) / 1000000))
  # A figure only: on a busy machine the time says more of the machine than of the program.
  log "   announcement to windows laid: $elapsed ms"
  line=$(wt list WendrelStrip)
  check "the strip stays on the bottom edge, as wide as the work area" \
    equals "$(field "$line" x),$(field "$line" w),$(($(field "$line" y) + $(field "$line" h)))" "0,1024,748"
}
