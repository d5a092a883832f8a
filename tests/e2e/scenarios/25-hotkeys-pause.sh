# The keyboard's way in: with keystrokes set in the settings file, the Explorer's brings the
# managed window out at its edge and in front, where it stays wherever the pointer goes, and
# the second press parks it; the pause's keeps a push at the edge from bringing the window out
# until it is pressed again; the Launch menu's pops the menu at the pointer.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
# Pop終了, 補完Exp, 引出時固定, ＤｕａｌEｘｐ (icons), Varnel, separator.
layout=iiiits
settings=$VARNEL_SESSION_DIR/hotkeys.ini
printf '[Exp]\r\nLeft=1\r\nRight=0\r\n[Hotkey]\r\nExplorer=ctrl+alt+e\r\nLaunch=Ctrl+Alt+L\r\nPause=Ctrl+Alt+P\r\n' >"$settings"
pointer_to $((W / 2)) $((H / 2))
varnel_install "$settings"
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
managed=$E2E_MANAGED
# Out at the left. Under Wine a process keeps the work area it first read, so Varnel may size
# it to the whole screen or to the screen above the taskbar.
explorer_out() {
  work_area_now || return 1
  window_is_at "$managed" 0 1 400 $((H - 1)) && return 0
  [[ "$E2E_L $E2E_T $E2E_R $E2E_B $E2E_VIS" == "$(out_rect left 400) 1" ]]
}

# ---- the Explorer's keystroke -------------------------------------------------------------------
xdotool key ctrl+alt+e
if wait_for explorer_out 10; then
  pass "Ctrl+Alt+E: the Explorer slides out at the left, $(last_rect)"
else
  fail "Ctrl+Alt+E: the Explorer is out at the left, 400 wide; last seen $(last_rect)"
fi
check "and it is in front, for the keyboard" \
  wait_for "probe foreground && grep -qx 'hwnd=$managed' \"\$E2E_PROBE_OUT\"" 5
screenshot hotkey-explorer-out >/dev/null
pointer_to $((W - 100)) $((H / 2))
check "it stays out with the pointer far away from it (2 s)" holds_for 2 explorer_out
xdotool key ctrl+alt+e
check "the second Ctrl+Alt+E parks it" wait_for "window_is_parked $managed" 10
# The edge is as before: a push brings it out, and moving away parks it.
pointer_to 0 $((H / 2))
check "afterwards a push at the left edge brings it out" wait_for explorer_out 10
pointer_to $((W - 100)) $((H / 2))
check "and moving away parks it as ever" wait_for "window_is_parked $managed" 10

# ---- the pause ----------------------------------------------------------------------------------
xdotool key ctrl+alt+p
pointer_to 0 $((H / 2))
screenshot hotkey-paused >/dev/null
check "paused with Ctrl+Alt+P: a push at the left edge brings nothing out (3 s)" \
  holds_for 3 "window_is_parked $managed"
xdotool key ctrl+alt+p
check "Ctrl+Alt+P again resumes: the pointer still at the edge brings it out" \
  wait_for explorer_out 10
pointer_to $((W / 2)) $((H / 2))
wait_for "window_is_parked $managed" 10 || fail "the Explorer parks once the pointer leaves"

# ---- the Launch menu's keystroke ----------------------------------------------------------------
pointer_to 700 300
xdotool key ctrl+alt+l
if menu_appears 10; then
  pass "Ctrl+Alt+L: the Launch menu pops ($E2E_MENU_L,$E2E_MENU_T)-($E2E_MENU_R,$E2E_MENU_B)"
  check_eq "at the pointer" "700 300" "$E2E_MENU_L $E2E_MENU_T"
  check "with its fixed rows" menu_has_rows "$layout"
  screenshot hotkey-launch-menu >/dev/null
  # The keyboard is in the menu: Esc closes it.
  xdotool key Escape
  check "Esc closes it: the keyboard is in the menu" menu_gone 5
else
  fail "Ctrl+Alt+L pops the Launch menu"
fi

varnel_close_and_wait || fail "Varnel ends when asked"
