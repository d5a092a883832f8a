# The Launch menu over a big folder tree, from the keyboard: its submenus are made as they
# open, so the user pops the menu with its keystroke, walks down to a folder of a thousand
# files, opens it with the right arrow and starts the first of them with Enter.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
tree='C:\bigtree'
host=$(host_path "$tree")
rm -rf "$host"
mkdir -p "$host/Big"
(cd "$host/Big" && for i in $(seq -w 0 999); do : >"item$i.txt"; done)
for f in $(seq -w 0 49); do
  mkdir -p "$host/Folder$f" && (cd "$host/Folder$f" && for i in $(seq -w 0 19); do : >"file$i.txt"; done)
done
on_exit "rm -rf '$host'"
# The .txt handler is the recorder for this scenario; the prefix's own comes back at the end.
recorder_for_type txt txtfile 'C:\e2e\txtview\txtview.exe' ||
  abort "the recorder is registered for .txt files"
log=$E2E_RECORDER_LOG
settings=$VARNEL_SESSION_DIR/big-tree.ini
printf '[Exp]\r\nLeft=1\r\nRight=0\r\n[Launch]\r\nPath=%s\\\r\nLnk=0\r\nRight=0\r\nUpper=0\r\n[Hotkey]\r\nLaunch=Ctrl+Alt+L\r\n' \
  "$tree" >"$settings"
pointer_to $((W / 2)) $((H / 2))
varnel_install "$settings"
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"

pointer_to 300 200
xdotool key ctrl+alt+l
menu_appears 10 || abort "Ctrl+Alt+L pops the Launch menu"
pass "Ctrl+Alt+L pops the Launch menu ($E2E_MENU_L,$E2E_MENU_T)-($E2E_MENU_R,$E2E_MENU_B)"
# Pop終了, 補完Exp, 引出時固定, ＤｕａｌEｘｐ, Varnel, (the separator is passed over), Big.
xdotool key --delay 150 Down Down Down Down Down Down Right
if wait_for "probe_list && (( \$(window_find '#32768' varnel.exe | wc -l) >= 2 ))" 10; then
  pass "the right arrow on Big opens its submenu of a thousand items"
else
  fail "the right arrow on Big opens a second menu window"
fi
screenshot launch-big-tree >/dev/null
xdotool key Return
if wait_for "[[ -s $log ]]" 20; then
  check "Enter starts the submenu's first item with its program ($(cut -f2 "$log"))" \
    grep -qF "$tree\\Big\\item000.txt" "$log"
else
  fail "Enter on the submenu's first item starts it"
fi
menu_gone 5 || fail "the menu closes once an item is chosen"
varnel_close_and_wait || fail "Varnel ends when asked"
