# A settings file Varnel may not write (read-only) never keeps it from ending: a logoff is
# answered yes at once, without a word, and the program goes with the session; a close request
# tells of the failed write once and then ends the program. The file stays as it was.

needs_virtual_desktop

settings=$VARNEL_SESSION_DIR/readonly.ini
printf '; kept as it is\r\n[Pos]\r\nSpeed=12\r\n' >"$settings"

# install_read_only: a fresh folder whose varnel.ini carries the read-only attribute (Wine
# shows a file without write permission as read-only).
install_read_only() {
  varnel_install "$settings"
  chmod a-w "$VARNEL_INI"
}

# --- the session ends ---------------------------------------------------------------------
install_read_only
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
managed=$E2E_MANAGED
varnel_wait_form || abort "the main form appears"
form=$(window_field "$VARNEL_FORM" hwnd)

probe endsession --hwnd "$form" --timeout 5000
read -r answer elapsed <<<"$(sed -n 's/^answer=\([^\t]*\)\tms=\([0-9]*\)$/\1 \2/p' "$E2E_PROBE_OUT")"
check_eq "the logoff query is answered yes" 1 "$answer"
check "... within a second (took ${elapsed:-?} ms)" test "${elapsed:-99999}" -lt 1000
check "WM_ENDSESSION is taken" grep -q '^ended=sent$' "$E2E_PROBE_OUT"
if varnel_wait_exit; then
  pass "Varnel is gone after WM_ENDSESSION"
else
  screenshot session-end-stuck >/dev/null
  abort "Varnel is gone after WM_ENDSESSION"
fi
check "its managed Explorer went with it" wait_for "window_gone $managed" 10
check "the read-only file is unchanged" cmp -s "$settings" "$VARNEL_INI"

# --- a close request ----------------------------------------------------------------------
install_read_only
varnel_start_with_explorer || abort "Varnel starts again"
managed=$E2E_MANAGED
# The request is sent and waited for in the background: it returns once the close has run,
# which is after the message box has been answered.
probe close --class TForm1 --exe varnel.exe --timeout 60000 &
closer=$!
if wait_for "window_appears '#32770' varnel.exe" 20; then
  pass "the failed write is reported in a message box"
else
  abort "the failed write is reported in a message box"
fi
screenshot unwritable-message >/dev/null
box=$(window_field "$(window_find '#32770' varnel.exe | head -n 1)" hwnd)
check "Varnel still runs while the message is shown" process_running "$VARNEL_PID"
probe sysclose --hwnd "$box" || fail "the message box takes its close command"
# A second report would hold the program up again: ending now shows there was only the one.
if varnel_wait_exit; then
  pass "after the one message Varnel exits"
else
  window_appears '#32770' varnel.exe && e2e_note "a second message box is shown"
  abort "after the one message Varnel exits"
fi
wait "$closer" 2>/dev/null
check "its managed Explorer is closed" wait_for "window_gone $managed" 10
check "the read-only file is unchanged" cmp -s "$settings" "$VARNEL_INI"
