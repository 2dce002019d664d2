# Files on Windows: a long address under the longest group path, a read-only program folder, and
# Cyrillic, Greek and Chinese (folder, pages, a group) shown whole and kept whole in group files.

test_a_long_address_is_saved_whole_under_the_longest_group_path() {
  local url base name
  # The longest path the group names admit, 259 characters, ending in the longest file name
  # Linux holds (255 bytes): 83 Chinese characters of 3 bytes each and ".WDX".
  base=$(winpath "$WORK")
  name=$(printf '文%.0s' $(seq 83))
  new_folder "$(head -c $((259 - ${#base} - 1 - 8 - 87)) /dev/zero | tr '\0' 'f')"
  printf '\xef\xbb\xbf"%s",%s\r\n%s\r\n' "$name" "${QUIET_OPTIONS#*,}" "$OPTIONS_HEADER" >"$FOLDER/Wendrel.CFG"
  check "the group's path is 259 characters" equals "$(($(winpath "$FOLDER" | wc -m) + 8 + 87))" 259
  # 20,000 characters, far beyond any fixed buffer for a window's text.
  url="http://long.example.com/$(head -c 19976 /dev/zero | tr '\0' 'a')"
  start_strip || return 1
  open_frame IEFrame "Long Page" "$url"
  check "the window gets a tab" wait_until "$WAIT" tab_count_is 1 || return 1
  open_tray_menu && menu_click save
  check "the group is saved" grep -q "^The details have been saved as the Group $name" <<<"$(wt answer Wendrel 1 "$WAIT")"
  check "the whole address is in the group file" equals "$(cat "$FOLDER/Groups/$name.WDX")" " ,$url"$'\r'
}

test_a_read_only_program_folder_keeps_the_files_in_app_data() {
  local appdata text rc=0
  new_folder readonly "$QUIET_OPTIONS"
  appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Wendrel"
  rm -rf "${appdata:?}"
  # Run as root, Wine writes anywhere a file's permissions forbid: only the immutable attribute
  # keeps it out of the folder.
  chattr +i "$FOLDER" || { log "    the folder cannot be made read-only here" && return 1; }
  {
    start_wendrel && text=$(wt answer Wendrel 1 "$WAIT") &&
      check "the first start says where the files go" equals "${text%% from now on*}" \
        "Wendrel cannot write in its own folder, $(winpath "$FOLDER"), so it keeps its options and groups in C:\\users\\$(id -un)\\AppData\\Local\\Wendrel" &&
      check "the options file is copied there" equals "$(head -n1 "$appdata/Wendrel.CFG")" "$QUIET_OPTIONS"$'\r' &&
      wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null &&
      open_frame IEFrame "Alpha Page" "http://www.alpha.com/" && wait_until "$WAIT" tab_count_is 1 &&
      open_tray_menu && menu_click save &&
      check "a saved group goes there" equals "$(wt answer Wendrel 1 "$WAIT")" "The details have been saved as the Group DEFAULT." &&
      check "and is written there" grep -q "alpha.com" "$appdata/Groups/DEFAULT.WDX"
  } || rc=1
  stop_wendrels
  chattr -i "$FOLDER"
  return $rc
}

UNICODE_SITES=("Новости дня|http://www.новости.рф/главная" "Ειδήσεις|http://www.ειδήσεις.gr/" "新闻首页|http://新闻.中国/首页")

# Chinese glyphs for the faces the program and Wine's controls use: Wine links the fonts listed
# here into a face that lacks a character (its "SystemLink"); processes started afterwards see
# it. Linked fonts make text rows a pixel taller, so the prefix's own links come back afterwards.
test_unicode_pages_group_and_folder_keep_every_character() {
  local links='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' face rc=0
  wine reg export "$links" "$(winpath "$WORK")\\font-links.reg" /y >/dev/null 2>&1
  for face in "MS Sans Serif" "Microsoft Sans Serif" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add "$links" /v "$face" /t REG_MULTI_SZ /f \
      /d 'wqy-microhei.ttc,WenQuanYi Micro Hei\0DejaVuSans.ttf,DejaVu Sans' >/dev/null 2>&1
  done
  unicode_story || rc=1
  stop_wendrels
  close_frames
  wine reg delete "$links" /f >/dev/null 2>&1
  wine reg import "$(winpath "$WORK")\\font-links.reg" >/dev/null 2>&1
  return $rc
}
unicode_story() {
  local site expected
  # A group named and filled outside the code page, shown by the dialog at start.
  new_folder "Вендрель Ελλάδα 文件夹" "$(options DEFAULT TTFTF 8)"
  mkdir -p "$FOLDER/Groups"
  {
    printf '\xef\xbb\xbf'
    for site in "${UNICODE_SITES[@]}"; do printf '%s,%s\r\n' "${site%%|*}" "${site#*|}"; done
  } >"$FOLDER/Groups/Мир.WDX"
  start_wendrel || return 1
  wt wait-window WendrelOptions "$PID" "$WAIT" >/dev/null || return 1
  check "start-up opens Group Management" page_shown "Add Group" || return 1
  check "the group's name is listed whole" waits '[ "$(list_rows "$DIALOG" 1)" = "Мир" ]' || return 1
  click_row "$DIALOG" 1 0
  expected=$(for site in "${UNICODE_SITES[@]}"; do printf '|%s|%s\n' "${site%%|*}" "${site#*|}"; done)
  check "every line is read back whole" waits '[ "$(list_rows "$DIALOG" 3)" = "$expected" ]'
  screenshot unicode-dialog
  wt close WendrelOptions

  for site in "${UNICODE_SITES[@]}"; do open_frame IEFrame "${site%%|*}" "${site#*|}" || return 1; done
  check "three tabs appear" wait_until "$WAIT" tab_count_is 3 || return 1
  # Captions count characters: eight and "..", or the whole rest of a short address.
  check "the strip shows every character" waits 'captions_are "новости...,ειδήσεις..,中国/首页"'
  screenshot unicode-tabs
  crop unicode-tabs 25 723
  # Saved as UTF-8 behind a byte-order mark: no code page holds the three scripts at once.
  open_tray_menu && menu_click save
  check "the group is saved" equals "$(wt answer Wendrel 1 "$WAIT")" "The details have been saved as the Group DEFAULT."
  {
    printf '\xef\xbb\xbf'
    for site in "${UNICODE_SITES[@]}"; do printf ' ,%s\r\n' "${site#*|}"; done
  } >"$WORK/unicode-expected.WDX"
  check "the group file holds every character" cmp "$FOLDER/Groups/DEFAULT.WDX" "$WORK/unicode-expected.WDX"
}
