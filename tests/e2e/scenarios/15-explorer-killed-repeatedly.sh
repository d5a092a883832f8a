# The pointer rests at the left edge while the managed Explorer is ended twenty times in a row,
# its window closed or its process killed in turn: each time exactly one new window takes its
# place, parked and then out at the edge, and never two.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
settings=$VARNEL_SESSION_DIR/killed.ini
printf '[Exp]\r\nLeft=1\r\nRight=0\r\nUpper=0\r\nLower=0\r\nWidth=400\r\n' >"$settings"
pointer_to $((W / 2)) $((H / 2))
varnel_install "$settings"
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
current=$E2E_MANAGED
read -r l t r b <<<"$(out_rect left 400)"
pointer_to 0 $((H / 2))
wait_for "window_is_at $current $l $t $r $b" 15 || abort "it comes out at the left edge; last seen $(last_rect)"

# managed_alone_and_out HWND: fresh listing with HWND the only Explorer window, out at the
# edge; E2E_MOST is the most Explorer windows any look has seen.
managed_alone_and_out() {
  probe_list || return 1
  local count
  count=$(explorer_handles | wc -l)
  E2E_EXPLORER_COUNT=$count
  ((count > E2E_MOST)) && E2E_MOST=$count
  ((count == 1)) && window_is_at "$1" "$l" "$t" "$r" "$b"
}

E2E_MOST=1
replaced=0
for ((round = 1; round <= 20; round++)); do
  if ((round % 2)); then how=closed; probe sysclose --hwnd "$current"; else how=killed; probe kill --hwnd "$current"; fi
  wait_for "window_gone $current" 10 || { fail "round $round: the window is $how"; break; }
  if ! wait_for "explorer_new_appears $current" 30; then
    fail "round $round: a new Explorer follows the one $how"
    break
  fi
  next=$E2E_NEW_EXPLORER
  if ! wait_for "managed_alone_and_out $next" 20; then
    fail "round $round: the new window $next comes out alone; $E2E_EXPLORER_COUNT windows, last seen $(last_rect)"
    break
  fi
  current=$next
  replaced=$round
done
check_eq "twenty Explorers ended, each replaced by one new managed window" 20 "$replaced"
check_eq "never two Explorer windows at once" 1 "$E2E_MOST"
check "and none follows later" holds_for 3 "managed_alone_and_out $current"
check "Varnel is still running" process_running "$VARNEL_PID"
screenshot killed-repeatedly >/dev/null

pointer_to 700 $((H / 2))
wait_for "window_is_parked $current" 10 && pass "the last one parks like the first" ||
  fail "the last window parks; last seen $(last_rect)"
varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
