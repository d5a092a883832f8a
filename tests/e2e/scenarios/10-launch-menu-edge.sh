# The Launch menu: the pointer pushed against the right edge pops it at the pointer, with its
# fixed head and the Launch folder's shortcuts (real .lnk files) and their icons; choosing a
# shortcut opens its target; left alone with the pointer away, the menu goes away by itself
# after Launch.Idle ticks, but not while the pointer rests on it.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
# Pop終了, 補完Exp, 引出時固定, ＤｕａｌEｘｐ (icons), Varnel, separator, then Tools, Notepad, Winver.
layout=iiiitstii
launch_folder_make 'C:\launch' || abort "a Launch folder of shortcuts made with IShellLink"
settings=$VARNEL_SESSION_DIR/launch-edge.ini
printf '[Exp]\r\nLeft=1\r\nRight=0\r\n[Launch]\r\nPath=C:\\launch\\\r\nRight=1\r\nIdle=6\r\n' >"$settings"
pointer_to $((W / 2)) $((H / 2))
varnel_install "$settings"
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"

# ---- popped at the edge ----------------------------------------------------------------------
pointer_to $((W - 1)) 400
menu_appears 10 || abort "pointer at ($((W - 1)), 400): a menu window (#32768) of varnel.exe appears"
pass "pointer at ($((W - 1)), 400): the Launch menu appears ($E2E_MENU_L,$E2E_MENU_T)-($E2E_MENU_R,$E2E_MENU_B)"
check_eq "it opens at the pointer's height" 400 "$E2E_MENU_T"
check_eq "it is kept on the screen, against its right edge" "$W" "$E2E_MENU_R"
check "its rows are the six fixed ones and Tools, Notepad, Winver (height $((E2E_MENU_B - E2E_MENU_T)))" \
  menu_has_rows "$layout"
# The menu paints a moment after its window shows.
wait_for "shot=\$(screenshot launch-menu) && (( \$(region_dark \"\$shot\" $E2E_MENU_L $((E2E_MENU_T + 3)) $E2E_MENU_R $((E2E_MENU_B - 3))) > 300 ))" 5 ||
  fail "the menu is drawn (text in the screenshot)"
shot=$E2E_ARTIFACTS/launch-menu.png
menu_pixels=$(((E2E_MENU_R - E2E_MENU_L) * (E2E_MENU_B - E2E_MENU_T)))
lit=$(region_lit "$shot" "$E2E_MENU_L" "$E2E_MENU_T" "$E2E_MENU_R" "$E2E_MENU_B")
check "the screenshot shows the menu where its window is ($lit of $menu_pixels pixels not desktop)" \
  test "$lit" -ge $((menu_pixels * 9 / 10))
# Each shortcut row carries its shell icon left of the caption.
for row in 7 8; do
  y=$(menu_row_y "$layout" "$row")
  dark=$(region_dark "$shot" $((E2E_MENU_L + 3)) $((y - 8)) $((E2E_MENU_L + 45)) $((y + 8)))
  check "row $row has a picture in its icon column ($dark dark pixels)" test "$dark" -ge 20
done

# ---- a shortcut chosen -----------------------------------------------------------------------
if menu_choose "$layout" 7 'window_appears Notepad notepad.exe'; then
  pass "choosing Notepad opens C:\\windows\\notepad.exe through the shortcut (click $E2E_MENU_CLICKS)"
else
  fail "choosing Notepad opens notepad.exe"
fi
menu_gone 5 || fail "the menu closes once an item is chosen"
screenshot launch-notepad >/dev/null
probe close --class Notepad --exe notepad.exe --timeout 5000 || true
wait_for '! window_appears Notepad notepad.exe' 10 || fail "notepad closes"

# ---- dismissal ---------------------------------------------------------------------------------
# A chosen item resets the edge: the menu pops again at the same edge.
pointer_to $((W / 2)) $((H / 2))
pointer_to $((W - 1)) 400
menu_appears 10 || abort "the Launch menu pops again at the same edge after a choice"
pass "the Launch menu pops again at the same edge after a choice"
# Resting on the menu (its first row) keeps it open well past Launch.Idle ticks.
xdotool mousemove $(((E2E_MENU_L + E2E_MENU_R) / 2)) "$(menu_row_y "$layout" 0)"
# 2 s, more than three times Launch.Idle (0.6 s).
check "with the pointer resting on the menu it stays open" holds_for 2 "window_appears '#32768' varnel.exe"
moved=$(date +%s.%N)
pointer_to 640 400
if menu_gone 5; then
  pass "pointer away at (640, 400): the menu goes away by itself after $(awk -v a="$moved" -v b="$E2E_MENU_GONE_UNIX" 'BEGIN { printf "%.0f", (b - a) * 1000 }') ms (Launch.Idle 6 ticks)"
else
  fail "pointer away at (640, 400): the menu goes away within 5 s"
fi
screenshot launch-dismissed >/dev/null
probe_list
check "varnel.exe keeps running" process_running "$VARNEL_PID"

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
