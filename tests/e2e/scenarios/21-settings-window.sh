# The settings window as a user works it: opened from the tray menu, each of its six pages
# shown by its tab; folders chosen in the shell's folder dialog, which starts on the current
# setting, kept with one trailing backslash (a drive root as it is); watched extensions added
# (trimmed) and removed; the About page's ヘルプ opens varnel_help\help.htm beside the exe with
# the .htm handler; a keystroke pressed in a hotkey field is taken; OK writes it all to
# varnel.ini.

needs_virtual_desktop

pages=(動作 フォルダ Launch 監視 その他 About)
# A check box found only on each page, in the order of the tabs.
markers=(コーナに不感領域を設ける 補完の起動指定 ショートカットのみを対象 監視機能を使う
  'Windows の起動時に起動する')
# Folders a user might have (the pages' pictures go into the help page).
start='C:\Data'
chosen='C:\Projects'
rm -rf "$(host_path "$start")" "$(host_path "$chosen")"
mkdir -p "$(host_path "$start")" "$(host_path "$chosen")"

# The .htm handler is the recorder for this scenario; the prefix's own comes back at the end.
recorder_for_type htm htmlfile 'C:\e2e\helpview\helpview.exe' ||
  abort "the recorder is registered for .htm files"
log=$E2E_RECORDER_LOG

settings=$VARNEL_SESSION_DIR/settings-window.ini
printf '[Pos]\r\nTop=60\r\nLeft=100\r\n[Exp]\r\nPath=%s\\\r\nPathEx=%s\\\r\n[Watch]\r\nExt0=txt\r\nExt1=pdf\r\n' \
  "$start" "$start" >"$settings"
pointer_to $((VARNEL_SCREEN_W / 2)) $((VARNEL_SCREEN_H / 2))
varnel_install "$settings"
# The folder as the program ships: the help page beside the exe.
cp -r "$E2E_REPO/varnel_help" "$VARNEL_HOST_DIR/"
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
wait_for 'tray_icon_point >/dev/null' 10 || abort "a notification area is on screen"

settings_open() {
  probe_list || return 1
  local record
  record=$(window_find TForm1 varnel.exe | head -n 1) || return 1
  [[ $(window_field "$record" left) == 100 && $(window_field "$record" top) == 60 ]] || return 1
  form=$(window_field "$record" hwnd)
}
tray_choose 3 settings_open && wait_for settings_open 10 || abort "設定 in the tray menu opens the settings window"

# tab_selected N: a fresh reading of the form shows tab N as the selected one.
tab_selected() {
  controls_read "$form" && [[ $(control_find SysTabControl32) == *"sel=$1 "* ]]
}
# page_show N: the user clicks tab N and waits until its page is up.
page_show() {
  local tabs rect l t r b
  controls_read "$form" || return 1
  tabs=$(control_find SysTabControl32 | sed 's/.*tabs=//') || return 1
  IFS=';' read -ra rect <<<"$tabs"
  IFS=',' read -r l t r b <<<"${rect[$1]}"
  [[ -n $b ]] || return 1
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
  wait_for "tab_selected $1" 5
}
# field N: the text of the Nth visible edit field of the page, from the top.
field() { control_text "$(control_find Edit | sed -n "$1p")"; }
# shot NAME: the screen as it is now, among the artifacts.
shot() { screenshot "$1" >/dev/null; }

# ---- the pages -----------------------------------------------------------------------------
for i in "${!pages[@]}"; do
  if ! page_show "$i"; then
    fail "tab ${pages[i]} shows its page"
    continue
  fi
  shown=()
  for j in "${!markers[@]}"; do control_find Button "${markers[j]}" >/dev/null && shown+=("$j"); done
  expected=$i
  ((i == 5)) && expected=
  check_eq "tab ${pages[i]} shows its page and no other's controls" "$expected" "${shown[*]}"
  ((i == 0 || i == 2)) && shot "settings-page$((i + 1))"
done

# ---- フォルダ: the folder dialog -------------------------------------------------------------
# dialog_selected: the name of the folder selected in the folder dialog. Wine keeps it in the
# dialog's folder-name field, which is there but hidden when the program asks for no edit box.
dialog_selected() { controls_read "$dialog" && awk -F'\t' 'NR > 1 && $2 == "Edit" { print $3; exit }' "$E2E_CONTROLS"; }
# browse N TARGET KEYS [TEXT]: the user presses the Nth 参照 of the page, and in the folder
# dialog presses KEYS, types TEXT and, once TARGET is selected, Enter; prints the dialog's
# instruction line and the folders selected first and last ("title: start -> end").
browse() {
  local title from to
  controls_read "$form" && control_click "$(control_find Button 参照 | sed -n "$1p")" || return 1
  wait_for "window_appears '#32770' varnel.exe" 10 || return 1
  dialog=$(window_field "$(window_find '#32770' varnel.exe | head -n 1)" hwnd)
  wait_for '[[ -n $(dialog_selected) ]]' 10
  from=$(dialog_selected)
  title=$(control_text "$(control_find Static | head -n 1)")
  shot "settings-folder-dialog$1"
  xdotool key "$3"
  [[ -n ${4:-} ]] && xdotool type --delay 80 "$4"
  wait_for "[[ \$(dialog_selected) == '$2' ]]" 5 >/dev/null
  to=$(dialog_selected)
  xdotool key Return
  wait_for "! window_appears '#32770' varnel.exe" 10 || return 1
  echo "$title: $from -> $to"
}
page_show 1 || abort "the フォルダ page"
# Left goes up to the parent (C:\), and typing selects its child of that name.
check_eq "起動's 参照: the folder dialog starts on Exp.Path; the user goes to $chosen" \
  "フォルダーの選択: Data -> Projects" "$(browse 1 Projects Left projects)"
check_eq "... and the field shows it with one trailing backslash" "$chosen\\" "$(controls_read "$form" && field 1)"
check_eq "補完's 参照: a drive root" "フォルダーの選択: Data ->  (C:)" "$(browse 2 ' (C:)' Left)"
check_eq "... shown as it is" 'C:\' "$(controls_read "$form" && field 2)"
shot settings-page2

# ---- 監視: extensions ----------------------------------------------------------------------
list() { controls_read "$form" && control_text "$(control_find ListBox)"; }
page_show 3 || abort "the 監視 page"
check_eq "the list shows Watch.Ext0, Ext1" "txt|pdf" "$(list)"
control_click "$(control_find Edit | tail -n 1)" && xdotool type '  jpg  '
control_click "$(control_find Button 追加)"
check "追加 adds the typed extension, trimmed" wait_for '[[ $(list) == "txt|pdf|jpg" ]]' 5
check_eq "... and empties the field" "" "$(field 4)"
control_click "$(control_find Button 追加)"
check "追加 with an empty field adds nothing" holds_for 1 '[[ $(list) == "txt|pdf|jpg" ]]'
read -r l t r item_h < <(control_find ListBox | awk -F'\t' '{ sub(/.*item_h=/, "", $9); print $4, $5, $6, $9 }')
xdotool mousemove $(((l + r) / 2)) $((t + 2 + item_h / 2)) click 1
wait_for 'controls_read "$form" && [[ $(control_find ListBox) == *"sel=0 "* ]]' 5 || fail "a click selects txt"
control_click "$(control_find Button 削除)"
check "削除 removes the selected one" wait_for '[[ $(list) == "pdf|jpg" ]]' 5
shot settings-page4

# ---- その他: a hotkey ------------------------------------------------------------------------
page_show 4 || abort "the その他 page"
control_click "$(control_find msctls_hotkey32 | head -n 1)" && xdotool key ctrl+alt+k
shot settings-page5

# ---- About: ヘルプ --------------------------------------------------------------------------
page_show 5 || abort "the About page"
shot settings-page6
control_click "$(control_find Button ヘルプ)"
if wait_for "[[ -s $log ]]" 15; then
  check_eq "ヘルプ opens varnel_help\\help.htm beside the exe, in its folder, by its full path" \
    "$VARNEL_WIN_DIR\\varnel_help	$VARNEL_WIN_DIR\\varnel_help\\help.htm" "$(cat "$log")"
else
  fail "ヘルプ opens the help page with the .htm handler"
fi

# ---- OK ------------------------------------------------------------------------------------
# Varnel reads its file only at the start: without it now, what is there after OK is what OK wrote.
rm -f "$VARNEL_INI"
control_click "$(control_find Button OK)"
wait_for "probe_list && [[ \$(window_field \"\$(window_by_handle $form)\" left) == -$VARNEL_SCREEN_W ]]" 10 ||
  fail "OK puts the settings window away"
check "OK writes varnel.ini beside the exe" wait_for "ini_get $VARNEL_INI Exp Path >/dev/null 2>&1" 10
check_eq "Exp.Path: the chosen folder, one trailing backslash" "$chosen\\" "$(ini_get "$VARNEL_INI" Exp Path)"
check_eq "Exp.PathEx: the drive root" 'C:\' "$(ini_get "$VARNEL_INI" Exp PathEx)"
check_eq "Hotkey.Explorer: the keystroke pressed in its field" 'Ctrl+Alt+K' \
  "$(ini_get "$VARNEL_INI" Hotkey Explorer)"
check_eq "the extensions, in list order, nothing else" "Watch.Ext0=pdf Watch.Ext1=jpg" \
  "$(ini_entries "$VARNEL_INI" | grep '^Watch\.Ext[0-9]*=.' | tr '\n' ' ' | sed 's/ $//')"

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
