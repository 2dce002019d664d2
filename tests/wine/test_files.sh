# Group files on Windows: long addresses kept whole under the longest path a group may have, only
# ordinary files listed, and a group saved over an existing file keeps that file's name.

test_a_long_address_is_saved_whole_under_the_longest_group_path() {
  local folder url base name
  # The longest path the group names admit, 259 characters, ending in the longest file name
  # Linux holds (255 bytes): 83 Chinese characters of 3 bytes each and ".WDX".
  base=$(winpath "$WORK")
  name=$(printf '文%.0s' $(seq 83))
  folder=$(new_folder "$(head -c $((259 - ${#base} - 1 - 8 - 87)) /dev/zero | tr '\0' 'f')")
  printf '\xef\xbb\xbf"%s",%s\r\n%s\r\n' "$name" "${QUIET_OPTIONS#*,}" "$OPTIONS_HEADER" >"$folder/Wendrel.CFG"
  check "the group's path is 259 characters" equals "$(($(winpath "$folder" | wc -m) + 8 + 87))" 259
  # 20,000 characters, far beyond any fixed buffer for a window's text.
  url="http://long.example.com/$(head -c 19976 /dev/zero | tr '\0' 'a')"
  printf '%s' "$url" >"$WORK/long-url.txt"
  check "the address is 20,000 characters" equals "${#url}" 20000
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  wine "$WTOOL" wframe IEFrame "Long Page" "@$(winpath "$WORK/long-url.txt")" >/dev/null 2>&1 </dev/null &
  FRAME_PIDS+=($!)
  check "the window gets a tab" wait_until "$WAIT" tab_count_is 1 || return 1
  open_tray_menu || return 1
  menu_click save
  # The test tool reads the message in the system's code page, which has no Chinese.
  check "the group is saved" grep -q '^The details have been saved as the Group ' <<<"$(wt answer Wendrel 1 "$WAIT")"
  check "the whole address is in the group file" equals "$(cat "$folder/Groups/$name.WDX")" " ,$url"$'\r'
}

test_the_group_list_holds_ordinary_files_and_a_saved_group_keeps_its_name() {
  local folder line
  # The dialog opens on Group Management at start.
  folder=$(new_folder ordinary '"DEFAULT","**UNKNOWN**",#TRUE#,#TRUE#,#TRUE#,#FALSE#,#TRUE#,#FALSE#,8')
  mkdir -p "$folder/Groups"
  printf 'Home,http://www.home.org/\r\n' >"$folder/Groups/Work.WDX"
  # Windows shows Wine's dot files as hidden files.
  printf 'Secret,http://www.secret.org/\r\n' >"$folder/Groups/.Hidden.WDX"
  start_wendrel "$folder" || return 1
  wt wait-window WendrelOptions "$PID" "$WAIT" >/dev/null || return 1
  check "start-up opens Group Management" wait_until "$WAIT" control_shown "$DIALOG" "Add Group" || return 1
  check "only the ordinary group is listed" wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 1 | paste -sd, -)" = Work ]'

  # Saving the open window as "work" rewrites Work.WDX under its own name.
  open_frame IEFrame "Alpha Page" "http://www.alpha.com/"
  wait_until "$WAIT" tab_count_is 1 || return 1
  # The window is laid over the dialog; a click on the tray icon brings the dialog to the front.
  tray_click 1
  wait_until "$WAIT" eval 'wt foreground | grep -q "title=$DIALOG"'
  click_tab "$DIALOG" "&Tab Management"
  check "the Tab page lists the window" wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 6 | wc -l)" = 1 ]' || return 1
  click_control "$DIALOG" "&Select All"
  wait_until "$WAIT" eval '[ "$(list_rows "$DIALOG" 6 | cut -d"|" -f1)" = X ]'
  # The group name is typed, as a user would, into the combo box's edit field: once the click has
  # given it the focus, since keys go to the control that has the focus when they are queued.
  line=$(wt controls "$DIALOG" | grep "class=Edit" | head -n1)
  [ -n "$line" ] || return 1
  xdotool mousemove $(($(field "$line" x) + 10)) $(($(field "$line" y) + $(field "$line" h) / 2)) click 1
  wait_until "$WAIT" eval 'wt focus | grep -q "^class=Edit "' || return 1
  xdotool key ctrl+a BackSpace type "work"
  click_control "$DIALOG" "<-- Save Selected as this Group"
  check "the group file is rewritten" wait_until "$WAIT" grep -q "alpha.com" "$folder/Groups/Work.WDX"
  check "it keeps its name and letter case" equals "$(cd "$folder/Groups" && ls | paste -sd, -)" "Work.WDX"
}

test_a_read_only_program_folder_keeps_the_files_in_app_data() {
  local folder appdata text rc=0
  folder=$(new_folder readonly "$QUIET_OPTIONS")
  appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Wendrel"
  rm -rf "${appdata:?}"
  # Run as root, Wine writes anywhere a file's permissions forbid: only the immutable attribute
  # keeps it out of the folder.
  chattr +i "$folder" || { log "    the folder cannot be made read-only here"; return 1; }
  {
    start_wendrel "$folder" &&
      text=$(wt answer Wendrel 1 "$WAIT") &&
      check "the first start says where the files go" equals "${text%% from now on*}" \
        "Wendrel cannot write in its own folder, $(winpath "$folder"), so it keeps its options and groups in C:\\users\\$(id -un)\\AppData\\Local\\Wendrel" &&
      check "the options file is copied there" equals "$(head -n1 "$appdata/Wendrel.CFG")" "$QUIET_OPTIONS"$'\r' &&
      wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null &&
      open_frame IEFrame "Alpha Page" "http://www.alpha.com/" &&
      wait_until "$WAIT" tab_count_is 1 &&
      open_tray_menu && menu_click save &&
      check "a saved group goes there" equals "$(wt answer Wendrel 1 "$WAIT")" "The details have been saved as the Group DEFAULT." &&
      check "and is written there" grep -q "alpha.com" "$appdata/Groups/DEFAULT.WDX"
  } || rc=1
  stop_wendrels
  chattr -i "$folder"
  return $rc
}
