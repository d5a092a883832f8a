# The watched folder, opening (Watch.Mode=1): a file that arrives is handed to the chosen
# program, started in that program's folder with the file's full path as its one argument. A
# file its writer still holds open is handed over only after the close. Files there before the
# start and files of other extensions are never handed over; after a hand-over the next new
# file waits out the pause (30 s).

needs_virtual_desktop

app='C:\e2e\viewer\viewer.exe'
log=$(recorder_install "$app")
# A space and Japanese in the path: it must reach the program as one argument, intact.
inbox='C:\e2e\受信 箱'
inbox_host=$(host_path "$inbox")
flag='C:\e2e\written.flag'
rm -rf "$inbox_host" "$(host_path "$flag")"
mkdir -p "$inbox_host"
printf 'there before the start\r\n' >"$inbox_host/old.txt"

# UTF-8 with a byte-order mark, so the Japanese folder reads the same on any code page.
settings=$VARNEL_SESSION_DIR/watch-open.ini
printf '\xef\xbb\xbf[Watch]\r\nEnb=1\r\nMode=1\r\nSRCPath=%s\r\nAppPath=%s\r\nExt0=txt\r\nExt1=csv\r\n' \
  "$inbox" "$app" >"$settings"
varnel_install "$settings"
varnel_start
varnel_wait_form || abort "Varnel starts (its main form appears)"

# A writer creates the file and keeps it open, no sharing, until the flag appears.
new=新着メモ.txt
hold_out=$E2E_HOST_DIR/hold.out
rm -f "$hold_out"
probe hold --file "$inbox\\$new" --until "$flag" --timeout 45000 &
writer=$!
wait_for "grep -qx held '$hold_out' 2>/dev/null" 20 || abort "the writer holds $new open"
printf 'not listed\r\n' >"$inbox_host/skip.log"
check "while the writer holds it, nothing is handed over (a watch step and more)" \
  holds_for 7 "[[ ! -s $log ]]"

touch "$(host_path "$flag")"
wait "$writer"
check "the writer closes the file" grep -q '^closed' "$hold_out"
if wait_for "[[ -s $log ]]" 15; then
  pass "after the close the file is handed over within a watch step"
else
  abort "after the close the file is handed over within a watch step"
fi
probe_list
shot=$(screenshot watch-open-handed) &&
  check "nothing of Varnel's on screen after the hand-over (no message)" screen_blank_except_others "$shot"
check_eq "started once, in its own folder, with the full path of the new file" \
  "C:\\e2e\\viewer	$inbox\\$new" "$(cat "$log")"
check_eq "the file is complete when handed over" "$(sed -n 's/^closed bytes=//p' "$hold_out")" \
  "$(stat -c %s "$inbox_host/$new")"

# The next new file, right after: handed over only when the pause has passed.
printf 'a,b\r\n' >"$inbox_host/next.csv"
check "a file arriving right after waits out the pause (20 s)" holds_for 20 "(( \$(recorded_lines $log) == 1 ))"
if wait_for "(( \$(recorded_lines $log) >= 2 ))" 30; then
  check_eq "then it is handed over; nothing else ever was (old.txt, skip.log)" \
    "C:\\e2e\\viewer	$inbox\\$new"$'\n'"C:\\e2e\\viewer	$inbox\\next.csv" "$(cat "$log")"
else
  fail "after the pause next.csv is handed over"
fi

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
