# The managed Explorer's process dies: the next touch of the edge starts a new one, which is
# managed like the first (parked, then out while the pointer stays at the edge).

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
pointer_to $((W / 2)) $((H / 2))
varnel_install
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
first=$E2E_MANAGED

probe kill --hwnd "$first" || abort "the Explorer's process is ended ($(cat "$E2E_PROBE_OUT" 2>/dev/null))"
wait_for "window_gone $first" 10 || abort "its window is gone"
check "Varnel keeps running without its Explorer" process_running "$VARNEL_PID"

pointer_to 0 $((H / 2))
if wait_for "explorer_new_appears $first" "${E2E_LAUNCH_TIMEOUT:-60}"; then
  pass "touching the edge starts a new Explorer ($E2E_NEW_EXPLORER)"
else
  abort "touching the edge starts a new Explorer"
fi
second=$E2E_NEW_EXPLORER
read -r l t r b <<<"$(out_rect left 400)"
if wait_for "window_is_at $second $l $t $r $b" 15; then
  pass "the new window comes out at the edge where the pointer rests"
else
  fail "the new window comes out at ($l,$t)-($r,$b); last seen $(last_rect)"
fi
screenshot restarted-out >/dev/null
pointer_to 700 $((H / 2))
wait_for "window_is_parked $second" 10 && pass "and parks like the first" ||
  fail "the new window parks; last seen $(last_rect)"
check_eq "one Explorer window, the new one" "$second" "$(explorer_handles | tr '\n' ' ' | sed 's/ $//')"

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
