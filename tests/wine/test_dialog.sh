# The dialog "Options & More": its pages, a group edited line by line, an option updated.

test_dialog_from_menu_lists_tabs_and_shows_pages() {
  local folder pid
  folder=$(new_folder dialog "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  pid=$PID
  wt wait-window WendrelStrip "$pid" "$WAIT" >/dev/null || return 1
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  open_frame IEFrame "Beta Page" "http://www.beta.org/x"
  wait_until "$WAIT" tab_count_is 2 || return 1
  # The pass that gave the newest window its tab ends by raising that window and giving the
  # strip the foreground: the dialog is opened after it, or the window could come over it.
  wait_until "$WAIT" foreground_title_is Wendrel || return 1
  wait_until "$WAIT" tray_icon_shown
  open_tray_menu || return 1
  menu_click options
  local line
  line=$(wt wait-window WendrelOptions "$pid" "$WAIT")
  check "the dialog opens" [ -n "$line" ] || return 1
  # Client area 8175 x 5880 twips: 545 x 392 pixels, centred on the screen.
  local offset=$(($(field "$line" x) - (1024 - $(field "$line" w)) / 2))
  check "the dialog is centred" [ "${offset#-}" -le 1 ]
  check "the menu opens the Tab Management page" control_shown "$DIALOG" "For selection, click a row"
  check "one row per tab" equals "$(list_rows "$DIALOG" 6 | cut -d'|' -f1-5 | paste -sd';' -)" \
    "|1||alpha.com/|http://www.alpha.com/;|2||beta.org/x|http://www.beta.org/x"
  screenshot dialog-tab-management
  click_row "$DIALOG" 6 1
  check "a click marks the row" wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 6 | sed -n 2p | cut -d"|" -f1)" = X ]'
  click_tab "$DIALOG" "&Options"
  check "the Options page shows" wait_until "$WAIT" control_shown "$DIALOG" "Unless the Update button"
  screenshot dialog-options
  click_tab "$DIALOG" "&Group Management"
  check "the Group Management page shows" wait_until "$WAIT" control_shown "$DIALOG" "Add Group"
  screenshot dialog-group-management
  wt close WendrelOptions
  check "closing the dialog unloads it" wait_until "$WAIT" eval '! wt list WendrelOptions | grep -q hwnd'
  check "the program keeps running" equals "$(wt wait-exit "$pid" 0.5)" "running"
}

test_dialog_edits_a_group_and_an_option() {
  local folder pid text
  folder=$(new_folder groups)
  # The program is shipped with its Groups folder.
  mkdir -p "$folder/Groups"
  start_wendrel "$folder" || return 1
  pid=$PID
  wt answer WENDREL 1 "$WAIT" >/dev/null
  # ConfirmGroup is on by default: the dialog opens at start on Group Management.
  wt wait-window WendrelOptions "$pid" "$WAIT" >/dev/null || return 1
  check "start-up opens Group Management" wait_until "$WAIT" control_shown "$DIALOG" "Add Group" || return 1
  check "the line buttons wait for a group" eval 'wt controls "$DIALOG" | grep -F "text=Modify" | grep -q "enabled=0"'

  click_control "$DIALOG" "Add Group"
  text=$(wt input Wendrel Work "$WAIT")
  check "Add Group asks for the name" equals "$text" "Enter a Group name"
  check "the new group is listed" wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 1)" = Work ]'
  check "the group's file exists" [ -f "$folder/Groups/Work.WDX" ]
  check "the new group is loaded" wait_until "$WAIT" control_shown "$DIALOG" "Details for Group:Work"

  click_control "$DIALOG" "Add "
  check "Add shows the line editor" wait_until "$WAIT" control_shown "$DIALOG" "URL (No validation):" || return 1
  wt settext "$DIALOG" 1 "Home"
  wt settext "$DIALOG" 2 "http://www.home.org/"
  screenshot dialog-line-editor
  click_control "$DIALOG" "&Update"
  check "the line is written" wait_until "$WAIT" grep -q "^Home,http://www.home.org/"$'\r'"\$" "$folder/Groups/Work.WDX"
  check "the line is shown" wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 3)" = "|Home|http://www.home.org/" ]'
  check "the editor gives way to the hint" wait_until "$WAIT" control_shown "$DIALOG" "To select a name, click"

  click_tab "$DIALOG" "&Options"
  wait_until "$WAIT" control_shown "$DIALOG" "Unless the Update button" || return 1
  wt settext "$DIALOG" 0 "12"
  click_control "$DIALOG" "&Update"
  text=$(wt answer Wendrel 1 "$WAIT")
  check "Update confirms" equals "$text" "Options updated. They will be reflected as soon as possible."
  check "the options file holds the caption width 12" \
    equals "$(head -n1 "$folder/Wendrel.CFG" | tr -d '\r')" '"DEFAULT","**UNKNOWN**",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,12'

  # "Start Wendrel when I sign in" adds the program's quoted path to the user's Run key, and
  # takes it out again.
  click_control "$DIALOG" "Start Wendrel when I sign in" || return 1
  screenshot dialog-options-sign-in
  click_control "$DIALOG" "&Update"
  wt answer Wendrel 1 "$WAIT" >/dev/null
  check "the sign-in entry appears" eval 'run_entry | grep -qiF "\"$(winpath "$folder/wendrel.exe")\""'
  check "Wendrel.ini records it" grep -q "^StartWithWindows=yes" "$folder/Wendrel.ini"
  click_control "$DIALOG" "Start Wendrel when I sign in"
  click_control "$DIALOG" "&Update"
  wt answer Wendrel 1 "$WAIT" >/dev/null
  check "the sign-in entry goes" eval '! run_entry'

  # The browsers' settings reach Wendrel.ini.
  click_control "$DIALOG" "Read addresses" || return 1
  click_control "$DIALOG" "shell"
  screenshot dialog-options-settings
  click_control "$DIALOG" "&Update"
  wt answer Wendrel 1 "$WAIT" >/dev/null
  check "Wendrel.ini records the browsers' settings" \
    eval 'grep -q "^ReadAddresses=no" "$folder/Wendrel.ini" && grep -q "^OpenIn=shell" "$folder/Wendrel.ini"'
}

# The value "Wendrel" of the current user's Run key, as `reg query` prints it; fails when absent.
run_entry() { wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Wendrel 2>/dev/null | grep -i "Wendrel"; }

test_a_click_on_the_current_page_tab_runs_its_handling() {
  local folder
  folder=$(new_folder pageclick "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  wait_until "$WAIT" tray_icon_shown
  open_tray_menu || return 1
  menu_click options
  wt wait-window WendrelOptions "$PID" "$WAIT" >/dev/null || return 1
  click_tab "$DIALOG" "&Options"
  wait_until "$WAIT" control_shown "$DIALOG" "Unless the Update button" || return 1
  # An answer changed but not updated...
  wt settext "$DIALOG" 0 "12"
  wait_until "$WAIT" eval 'wt controls "$DIALOG" | grep -q "class=Edit text=12\$"' || return 1
  # ...gives way to the stored options when the page is chosen again, as when coming back to it.
  click_tab "$DIALOG" "&Options"
  check "a click on the current page's tab shows the stored options again" \
    wait_until "$WAIT" eval 'wt controls "$DIALOG" | grep -q "class=Edit text=8\$"'
  check "the page stays" control_shown "$DIALOG" "Unless the Update button"

  # A press on another page's tab dragged off the dialog shows that page; the next click on its
  # tab, now the current one, still runs the page's handling.
  click_tab "$DIALOG" "&Tab Management"
  wait_until "$WAIT" control_shown "$DIALOG" "For selection, click a row" || return 1
  drag_off_tab "$DIALOG" "&Options"
  wait_until "$WAIT" control_shown "$DIALOG" "Unless the Update button" || return 1
  wt settext "$DIALOG" 0 "12"
  wait_until "$WAIT" eval 'wt controls "$DIALOG" | grep -q "class=Edit text=12\$"' || return 1
  click_tab "$DIALOG" "&Options"
  check "after a press dragged off the dialog, a click on the current page's tab still counts" \
    wait_until "$WAIT" eval 'wt controls "$DIALOG" | grep -q "class=Edit text=8\$"'
}
