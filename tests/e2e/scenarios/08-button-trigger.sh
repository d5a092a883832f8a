# With Exp.Button on (left button, Exp.BtnLR=0) the pointer at the edge is not enough: the
# window comes out only once the button is held there.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
settings=$VARNEL_SESSION_DIR/button.ini
printf '[Exp]\r\nButton=1\r\nBtnLR=0\r\n' >"$settings"
pointer_to $((W / 2)) $((H / 2))
varnel_install "$settings"
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
managed=$E2E_MANAGED

pointer_to 0 $((H / 2))
# 1.5 s, well over Pos.Sense ticks.
check "at the edge without the button it stays parked" holds_for 1.5 "window_is_off_screen $managed"

read -r l t r b <<<"$(out_rect left 400)"
xdotool mousedown 1
if wait_for "window_is_at $managed $l $t $r $b" 10; then
  pass "left button held at the edge: out at ($l,$t)-($r,$b)"
else
  fail "left button held at the edge: out at ($l,$t)-($r,$b); last seen $(last_rect)"
fi
xdotool mouseup 1
screenshot button-out >/dev/null
pointer_to 700 $((H / 2))
wait_for "window_is_parked $managed" 10 || fail "parked again after the pointer left; last seen $(last_rect)"

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
