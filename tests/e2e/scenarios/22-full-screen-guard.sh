# The full-screen guard: while another program's window covers its whole monitor (a borderless
# game, a browser in F11, a video) and has the foreground, the edges of that monitor stay quiet,
# for the Explorer and the Launch menu alike; the Explorer comes as soon as that window closes
# with the pointer still at the edge; with [Exp] FullGuard=0 the edges work as ever.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
flag='C:\e2e\fullscreen.flag'
report=$E2E_HOST_DIR/fullscreen.out
popup_colour='#000060'
on_exit "touch '$(host_path "$flag")'"

# popup_up: the probe's full-screen window is up; popup is its handle.
popup_up() {
  rm -f "$(host_path "$flag")" "$report"
  probe fullscreen --until "$flag" --timeout 50000 &
  popup_pid=$!
  wait_for "grep -qx shown '$report' 2>/dev/null" 20 || return 1
  popup=$(sed -n 's/^hwnd=//p' "$report")
}
popup_down() { touch "$(host_path "$flag")" && wait "$popup_pid"; }
popup_foreground() { probe foreground && grep -qx "hwnd=$popup" "$E2E_PROBE_OUT"; }
# slid_out: the Explorer is out at the left. Under Wine a process keeps the work area it first
# read, so Varnel may size it to the whole screen or to the screen above the taskbar.
slid_out() {
  work_area_now || return 1
  window_is_at "$managed" 0 1 400 $((H - 1)) && return 0
  [[ "$E2E_L $E2E_T $E2E_R $E2E_B $E2E_VIS" == "$(out_rect left 400) 1" ]]
}

pointer_to $((W / 2)) $((H / 2))
varnel_install
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
managed=$E2E_MANAGED

# ---- the guard on (the default) ---------------------------------------------------------------
popup_up || abort "a borderless window as large as the monitor opens"
# The guard compares the two exactly: a window granted one pixel less would test nothing.
check_eq "the window covers the monitor exactly" "$(sed -n 's/^monitor=//p' "$report")" \
  "$(sed -n 's/^rect=//p' "$report")"
check "it has the foreground" wait_for popup_foreground 5
pointer_to 0 $((H / 2))
check "pointer resting at the left edge for 2 s: the Explorer stays parked, the window in front" \
  holds_for 2 "window_is_parked $managed && popup_foreground"
shot=$(screenshot fullscreen-guard-left)
check "the screenshot shows the full-screen window alone at the left edge" \
  test "$(E2E_DESKTOP_COLOR=$popup_colour region_lit "$shot" 0 0 400 "$H")" -eq 0
pointer_to $((W - 1)) 400
check "pointer resting at the right edge for 2 s: no Launch menu" \
  holds_for 2 "menu_gone 0 && popup_foreground"

pointer_to 0 $((H / 2))
popup_down
check "the window closed with the pointer at the left edge: the Explorer slides out" \
  wait_for slid_out 10 || e2e_note "last seen $(last_rect)"
pointer_to $((W / 2)) $((H / 2))
wait_for "window_is_parked $managed" 10 || fail "pointer away: parked again; last seen $(last_rect)"
pointer_to $((W - 1)) 400
check "without the full-screen window the right edge pops the Launch menu" menu_appears 10
pointer_to $((W / 2)) $((H / 2))
menu_gone 10 || fail "pointer away: the menu goes"

# A lost Explorer waits too: a new one would take the foreground from the full-screen window.
popup_up || abort "the full-screen window opens again"
probe kill --hwnd "$managed"
wait_for "window_gone $managed" 10 || abort "the managed Explorer is gone"
pointer_to 0 $((H / 2))
check "a lost Explorer is not restarted over full-screen work" \
  holds_for 2 "! explorer_new_appears $managed && popup_foreground"
popup_down
check "the full-screen window closed: the push restarts it" \
  wait_for "explorer_new_appears $managed" 20
pointer_to $((W / 2)) $((H / 2))
varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
explorer_close_all

# ---- the guard off ----------------------------------------------------------------------------
settings=$VARNEL_SESSION_DIR/full-guard-off.ini
printf '[Exp]\r\nFullGuard=0\r\n' >"$settings"
varnel_install "$settings"
varnel_start_with_explorer || abort "Varnel starts again, with FullGuard=0"
managed=$E2E_MANAGED
popup_up || abort "the full-screen window opens again"
check "it has the foreground" wait_for popup_foreground 5
pointer_to 0 $((H / 2))
check "FullGuard=0: the push at the left edge slides the Explorer out over the full-screen window" \
  wait_for slid_out 10 || e2e_note "last seen $(last_rect)"
screenshot fullscreen-guard-off >/dev/null
popup_down
pointer_to $((W / 2)) $((H / 2))
varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
