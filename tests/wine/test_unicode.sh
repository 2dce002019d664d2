# Text outside the system code page: a program folder, page titles and addresses in Cyrillic,
# Greek and Chinese are shown on the strip and kept whole in the group files.

UNICODE_FOLDER="Вендрель Ελλάδα 文件夹"
UNICODE_SITES=("Новости дня|http://www.новости.рф/главная"
               "Ειδήσεις|http://www.ειδήσεις.gr/"
               "新闻首页|http://新闻.中国/首页")

# Chinese glyphs for the faces the program and Wine's controls use: Wine links the fonts listed
# here into a face that lacks a character (its "SystemLink"); processes started afterwards see
# it. Linked fonts make text rows a pixel taller, so the prefix's own links come back after the
# test (with_unicode_fonts).
FONT_LINKS='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
with_unicode_fonts() {
  local face rc
  wine reg export "$FONT_LINKS" "$(winpath "$WORK")\\font-links.reg" /y >/dev/null 2>&1
  for face in "MS Sans Serif" "Microsoft Sans Serif" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add "$FONT_LINKS" /v "$face" /t REG_MULTI_SZ /f \
      /d 'wqy-microhei.ttc,WenQuanYi Micro Hei\0DejaVuSans.ttf,DejaVu Sans' >/dev/null 2>&1
  done
  "$@"
  rc=$?
  stop_wendrels
  close_frames
  close_browsers
  wine reg delete "$FONT_LINKS" /f >/dev/null 2>&1
  wine reg import "$(winpath "$WORK")\\font-links.reg" >/dev/null 2>&1
  return $rc
}

# open_wframe <class> <title> <url|@file>: a stand-in browser window titled and addressed in any
# script, waited for until it shows.
open_wframe() {
  WFRAME_CLASS=$1
  WFRAME_BEFORE=$(wt list "$1" | grep -c 'visible=1')
  wine "$WTOOL" wframe "$1" "$2" "$3" >/dev/null 2>&1 </dev/null &
  FRAME_PIDS+=($!)
  wait_until "$WAIT" eval '[ "$(wt list "$WFRAME_CLASS" | grep -c "visible=1")" -gt "$WFRAME_BEFORE" ]'
}

# The strip's captions in UTF-8, comma-separated.
utf8_captions() { wt captions | sed -n 's/^tab=[0-9]* caption=//p' | paste -sd, -; }

# The bytes of a file as hexadecimal, for comparing files that hold a byte-order mark.
hex_of() { od -An -v -tx1 "$1" | tr -d ' \n'; }

test_unicode_pages_and_folder_keep_every_character() { with_unicode_fonts non_latin_pages_and_folder; }
non_latin_pages_and_folder() {
  local folder site expected
  folder=$(new_folder "$UNICODE_FOLDER" "$QUIET_OPTIONS")
  start_wendrel "$folder" || return 1
  wt wait-window WendrelStrip "$PID" "$WAIT" >/dev/null || return 1
  for site in "${UNICODE_SITES[@]}"; do open_wframe IEFrame "${site%%|*}" "${site#*|}" || return 1; done
  check "three tabs appear" wait_until "$WAIT" tab_count_is 3 || return 1
  # Captions count characters: eight and "..", or the whole rest of a short address.
  expected="новости...,ειδήσεις..,中国/首页"
  wait_until "$WAIT" eval '[ "$(utf8_captions)" = "$expected" ]'
  check "the strip shows every character" equals "$(utf8_captions)" "$expected"
  screenshot unicode-tabs
  convert "$ARTEFACTS/unicode-tabs.png" -crop 1024x25+0+723 "$ARTEFACTS/unicode-tabs-crop.png" 2>/dev/null

  # Saved as UTF-8 behind a byte-order mark: no code page holds the three scripts at once.
  open_tray_menu || return 1
  menu_click save
  check "the group is saved" equals "$(wt answer Wendrel 1 "$WAIT")" "The details have been saved as the Group DEFAULT."
  {
    printf '\xef\xbb\xbf'
    for site in "${UNICODE_SITES[@]}"; do printf ' ,%s\r\n' "${site#*|}"; done
  } >"$WORK/unicode-expected.WDX"
  check "the group file holds every character" equals "$(hex_of "$folder/Groups/DEFAULT.WDX")" \
    "$(hex_of "$WORK/unicode-expected.WDX")"
}

test_unicode_group_reads_back_whole() { with_unicode_fonts non_latin_group_reads_back; }
non_latin_group_reads_back() {
  local folder site expected
  # A group named and filled outside the code page, shown by the dialog at start.
  folder=$(new_folder "$UNICODE_FOLDER" '"DEFAULT","**UNKNOWN**",#TRUE#,#TRUE#,#TRUE#,#FALSE#,#TRUE#,#FALSE#,8')
  mkdir -p "$folder/Groups"
  {
    printf '\xef\xbb\xbf'
    for site in "${UNICODE_SITES[@]}"; do printf '%s,%s\r\n' "${site%%|*}" "${site#*|}"; done
  } >"$folder/Groups/Мир.WDX"
  start_wendrel "$folder" || return 1
  wt wait-window WendrelOptions "$PID" "$WAIT" >/dev/null || return 1
  check "start-up opens Group Management" wait_until "$WAIT" control_shown "$DIALOG" "Add Group" || return 1
  check "the group's name is listed whole" \
    wait_until "$WAIT" eval '[ "$(wt wlistview "$DIALOG" 1 | sed -n "s/^row=0 text=//p")" = "Мир" ]' || return 1
  click_row "$DIALOG" 1 0
  expected=$(for site in "${UNICODE_SITES[@]}"; do printf '|%s|%s\n' "${site%%|*}" "${site#*|}"; done)
  wait_until "$WAIT" eval '[ "$(wt wlistview "$DIALOG" 3 | sed -n "s/^row=[0-9]* text=//p")" = "$expected" ]'
  check "every line is read back whole" equals "$(wt wlistview "$DIALOG" 3 | sed -n 's/^row=[0-9]* text=//p')" "$expected"
  screenshot unicode-dialog
}
