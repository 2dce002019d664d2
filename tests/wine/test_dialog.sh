# The dialog at a first start: groups and lines edited, clicks on the current page's tab, options,
# sign-in and browser settings updated, a group saved over its file, the options written at exit.

# The value "Wendrel" of the current user's Run key, as `reg query` prints it; fails when absent.
run_entry() { wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Wendrel 2>/dev/null | grep -i "Wendrel"; }

test_the_dialog_at_a_first_start_edits_groups_and_options_and_the_exit_writes_them() {
  local line
  new_folder first
  mkdir -p "$FOLDER/Groups"
  printf 'Home,http://www.home.org/\r\n' >"$FOLDER/Groups/Work.WDX"
  # Windows shows Wine's dot files as hidden files.
  printf 'Secret,http://www.secret.org/\r\n' >"$FOLDER/Groups/.Hidden.WDX"
  start_wendrel || return 1
  check "a box reports the missing options" quietly wt answer WENDREL 1 "$WAIT"
  # ConfirmGroup is on by default: the dialog opens at start on Group Management.
  check "the dialog opens at start" quietly wt wait-window WendrelOptions "$PID" "$WAIT" || return 1
  check "on Group Management" page_shown "Add Group" || return 1
  check "the line buttons wait for a group" eval 'wt controls "$DIALOG" | grep -F "text=Modify" | grep -q "enabled=0"'
  screenshot dialog-group-management
  check "only the ordinary group is listed" waits '[ "$(list_rows "$DIALOG" 1 | paste -sd, -)" = Work ]'
  click_control "$DIALOG" "Add Group"
  check "Add Group asks for the name" equals "$(wt answer Wendrel 1 "$WAIT" Play)" "Enter a Group name"
  check "the new group is listed" waits '[ "$(list_rows "$DIALOG" 1 | sort | paste -sd, -)" = Play,Work ]'
  check "its file exists" [ -f "$FOLDER/Groups/Play.WDX" ]
  check "the new group is loaded" page_shown "Details for Group:Play"
  click_control "$DIALOG" "Add "
  check "Add shows the line editor" page_shown "URL (No validation):" || return 1
  wt settext "$DIALOG" 1 "Home"
  wt settext "$DIALOG" 2 "http://www.home.org/"
  click_control "$DIALOG" "&Update"
  check "the line is written" wait_until "$WAIT" grep -qx $'Home,http://www.home.org/\r' "$FOLDER/Groups/Play.WDX"
  check "the line is shown" waits '[ "$(list_rows "$DIALOG" 3)" = "|Home|http://www.home.org/" ]'

  # A press on another page's tab dragged off the dialog shows that page; a click on its tab, now
  # the current one, still counts: an answer changed but not updated gives way to the stored one.
  drag_off_tab "$DIALOG" "&Options"
  check "the Options page shows" page_shown "Unless the Update button" || return 1
  screenshot dialog-options
  wt settext "$DIALOG" 0 12
  waits 'edit_shows 12' || return 1
  click_tab "$DIALOG" "&Options"
  check "a click on the current page's tab shows the stored options again" waits 'edit_shows 8'
  check "the page stays" control_shown "$DIALOG" "Unless the Update button"
  wt settext "$DIALOG" 0 12
  click_control "$DIALOG" "&Update"
  check "Update confirms in a box" quietly wt answer Wendrel 1 "$WAIT"
  # "Start Wendrel when I sign in" adds the program's quoted path to the user's Run key, and
  # takes it out again.
  click_control "$DIALOG" "Start Wendrel when I sign in" || return 1
  click_control "$DIALOG" "&Update"
  wt answer Wendrel 1 "$WAIT" >/dev/null
  check "the sign-in entry appears" eval 'run_entry | grep -qiF "\"$(winpath "$FOLDER/wendrel.exe")\""'
  check "Wendrel.ini records it" grep -q "^StartWithWindows=yes" "$FOLDER/Wendrel.ini"
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
    eval 'grep -q "^ReadAddresses=no" "$FOLDER/Wendrel.ini" && grep -q "^OpenIn=shell" "$FOLDER/Wendrel.ini"'

  # Saving an open window as "work" rewrites Work.WDX under its own name.
  check "a tray click brings the dialog over a new window" dialog_over_new_window || return 1
  click_tab "$DIALOG" "&Tab Management"
  check "the Tab page lists the window" waits '[ "$(list_rows "$DIALOG" 6 | wc -l)" = 1 ]' || return 1
  click_control "$DIALOG" "&Select All"
  waits 'marks_are X'
  # The group name is typed, as a user would, into the combo box's edit field: once the click has
  # given it the focus, since keys go to the control that has the focus when they are queued.
  line=$(wt controls "$DIALOG" | grep "class=Edit" | head -n1)
  xdotool mousemove $(($(field "$line" x) + 10)) $(($(field "$line" y) + $(field "$line" h) / 2)) click 1
  waits 'wt focus | grep -q "^class=Edit "' || return 1
  xdotool key ctrl+a BackSpace type "work"
  click_control "$DIALOG" "<-- Save Selected as this Group"
  check "the group file is rewritten" wait_until "$WAIT" grep -q "alpha.com" "$FOLDER/Groups/Work.WDX"
  check "it keeps its name and letter case" equals "$(cd "$FOLDER/Groups" && ls | paste -sd, -)" "Play.WDX,Work.WDX"

  # SaveOnExit is on and no browser is open any more: the exit says that nothing was saved, and
  # writes the options as updated.
  wt close IEFrame "Alpha Page"
  wait_until "$WAIT" tab_count_is 0 || return 1
  close_wendrel 6
  check "a box says there is no window to save" quietly wt answer Wendrel 1 "$WAIT"
  check "the program ends" equals "$(wt wait-exit "$PID" "$WAIT")" "exit=0"
  check "the options file holds the options updated" equals "$(od -c <"$FOLDER/Wendrel.CFG")" \
    "$(printf '%s\r\n%s\r\n' "$(options DEFAULT TTTTF 12)" "$OPTIONS_HEADER" | od -c)"
  check "no temporary file is left" [ ! -e "$FOLDER/Wendrel.CFG.new" ]
}
