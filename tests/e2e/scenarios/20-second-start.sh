# A second start of varnel.exe while one runs: the second process ends at once, with no
# Explorer of its own, and leaves the running Varnel untouched. It brings forward only what the
# user can see: with the settings window closed, nothing takes the keyboard from the user.

needs_virtual_desktop

pointer_to $((VARNEL_SCREEN_W / 2)) $((VARNEL_SCREEN_H / 2))
varnel_install
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
managed=$E2E_MANAGED
varnel_wait_form || abort "the main form appears"
first=$(window_field "$VARNEL_FORM" pid)

# foreground_pid: the Windows process of the foreground window (0 when there is none).
foreground_pid() {
  probe foreground
  sed -n 's/^pid=//p' "$E2E_PROBE_OUT"
}

# The user works in a window of another program.
explorer_open 'C:\'
wait_for "explorer_new_appears $managed" 30 || abort "an Explorer window of the user's own opens"
other=$E2E_NEW_EXPLORER
wait_for "(( \$(foreground_pid) != 0 && \$(foreground_pid) != $first ))" 10 ||
  abort "another program's window has the foreground (now: $(foreground_pid))"
user_pid=$(foreground_pid)

LC_ALL=$VARNEL_WINE_LOCALE "$VARNEL_WINE64" "$VARNEL_WIN_DIR\\varnel.exe" </dev/null \
  >"$VARNEL_SESSION_DIR/varnel-second.log" 2>&1 &
second=$!
started=$SECONDS
if wait_for "! process_running $second" 15; then
  pass "the second start ends by itself ($((SECONDS - started)) s)"
else
  kill -KILL "$second" 2>/dev/null
  abort "the second start ends by itself"
fi
wait "$second" 2>/dev/null
check "the first Varnel goes on running" process_running "$VARNEL_PID"
check "its settings window closed, nothing of it takes the foreground from the user's window" \
  holds_for 2 "(( \$(foreground_pid) == $user_pid ))"
screenshot second-start >/dev/null
check "still exactly its one Explorer and the user's; no other appears" \
  holds_for 2 "explorer_count_is 2 && window_by_handle $managed >/dev/null && window_by_handle $other >/dev/null"
check "its Explorer is still parked" window_is_parked "$managed"
check_eq "one process of varnel.exe owns windows" "$first" \
  "$(awk -F'\t' 'NR > 1 && tolower($6) == "varnel.exe" { print $5 }' "$E2E_WINDOWS" | sort -u | tr '\n' ' ' | sed 's/ $//')"

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
