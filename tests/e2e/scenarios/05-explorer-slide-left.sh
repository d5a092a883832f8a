# The managed Explorer: Varnel starts one, parks it off screen without a taskbar button, slides
# it out while the pointer rests at the left edge and parks it again once the pointer has moved
# right of it. An Explorer window the user had open before is never taken over.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
pointer_to $((W / 2)) $((H / 2))

# The user's own Explorer, open before Varnel starts.
explorer_open 'C:\'
wait_for 'explorer_new_appears' 30 || abort "an Explorer window of the user's own opens"
other=$E2E_NEW_EXPLORER
# It settles (placement, first paint) before it is measured.
wait_for "window_steady $other" 10 || abort "the user's Explorer settles"
other_before=$(window_geometry "$other")
e2e_note "the user's Explorer: $other at $other_before"

varnel_install
varnel_start
wait_for "explorer_new_appears $other" "${E2E_LAUNCH_TIMEOUT:-60}" ||
  abort "Varnel starts a new Explorer window (class ExplorerWClass, explorer.exe)"
managed=$E2E_NEW_EXPLORER
pass "Varnel starts a new Explorer window ($managed)"
if wait_for "window_is_parked $managed" 20; then
  pass "it is parked: visible at (-$W,-$H), off screen, tool window (granted $((E2E_R - E2E_L)) x $((E2E_B - E2E_T)) for 0 x 0)"
else
  fail "it is parked at (-$W,-$H) with WS_EX_TOOLWINDOW, visible; last seen $(last_rect)"
fi
check_eq "exactly one Explorer window more than before" 2 "$(explorer_handles | wc -l)"
shot=$(screenshot explorer-parked) && check "nothing of the parked Explorer on screen (screenshot)" screen_blank_except_others "$shot"
# Another program looking at the parked window at any moment sees it without a taskbar button.
probe sample-style --hwnd "$managed" --count 30 --every 100
check_eq "sampled 30 times over 3 s, it carries WS_EX_TOOLWINDOW every time" "tool=30	of=30" "$(cat "$E2E_PROBE_OUT")"
# Moved away by someone else while parked, it is back in its place at the next tick.
probe move --hwnd "$managed" -- 200 150 500 400 >/dev/null
check "moved on screen while parked, it is parked again" wait_for "window_is_parked $managed" 5

# Out at the left: x = work-area left, width Exp.Width, one dot short of the work area's top
# and bottom.
read -r l t r b <<<"$(out_rect left 400)"
pointer_to 0 $((H / 2))
if wait_for "window_is_at $managed $l $t $r $b" 10; then
  pass "pointer at the left edge: the window slides out to ($l,$t)-($r,$b)"
else
  fail "pointer at the left edge: out at ($l,$t)-($r,$b); last seen $(last_rect)"
fi
screenshot slide-left-out >/dev/null
check "it has no tool-window style while out" test $((E2E_EX & 0x80)) -eq 0
# On a bare X display Wine ignores HWND_TOPMOST for another process's window; its virtual
# desktop honours it.
if [[ -n ${VARNEL_SESSION_VIRTUAL_DESKTOP:-} ]]; then
  check "it is topmost while out (WS_EX_TOPMOST)" test $((E2E_EX & 0x8)) -ne 0
fi
probe_list
check_eq "the user's Explorer is untouched while the managed one is out" "$other_before" "$(window_geometry "$other")"

# Pointer moved up and down along the window: stays out.
pointer_to 200 50
check "moving over the window keeps it out" holds_for 0.6 "window_is_at $managed $l $t $r $b"

# Right of the window by more than Pos.Offset (20): parked again.
pointer_to $((r + 21 + 280)) $((H / 2))
if wait_for "window_is_parked $managed" 10; then
  pass "pointer right of the window: parked again"
else
  fail "pointer right of the window: parked again; last seen $(last_rect)"
fi
screenshot slide-left-parked >/dev/null

probe_list
check_eq "the user's Explorer is untouched after all of it" "$other_before" "$(window_geometry "$other")"
check_eq "still only the two Explorer windows" 2 "$(explorer_handles | wc -l)"

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
