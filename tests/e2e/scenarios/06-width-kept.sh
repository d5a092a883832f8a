# A width the user gives the window while it is out is used at the next slide and written to
# the settings file at exit.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
pointer_to $((W / 2)) $((H / 2))
varnel_install
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
managed=$E2E_MANAGED

read -r l t r b <<<"$(out_rect left 400)"
pointer_to 0 $((H / 2))
wait_for "window_is_at $managed $l $t $r $b" 10 || abort "out at the left at 400 wide; last seen $(last_rect)"

# The user drags the right border to 500 (here: MoveWindow from another process).
probe move --hwnd "$managed" -- "$l" "$t" 500 $((b - t)) || abort "the window takes a new width"
pointer_to 700 $((H / 2))   # beyond 500 + Pos.Offset
wait_for "window_is_parked $managed" 10 || fail "parked after the resize; last seen $(last_rect)"

read -r l t r b <<<"$(out_rect left 500)"
pointer_to 0 $((H / 2))
if wait_for "window_is_at $managed $l $t $r $b" 10; then
  pass "the next slide brings it out 500 wide"
else
  fail "the next slide brings it out 500 wide at ($l,$t)-($r,$b); last seen $(last_rect)"
fi
screenshot width-kept-500 >/dev/null
pointer_to 700 $((H / 2))
wait_for "window_is_parked $managed" 10 || fail "parked again"

varnel_close_and_wait || abort "varnel.exe exits after WM_CLOSE"
check_eq "Exp.Width=500 in varnel.ini" 500 "$(ini_get "$VARNEL_INI" Exp Width)"
