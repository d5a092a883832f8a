# The watched folder, moving (Watch.Mode=0), a file another program still writes and shares every
# way: it stays, growing, through watch steps, and once closed it is moved whole; likewise to D:,
# a volume of its own (another Linux file system: ERROR_NOT_SAME_DEVICE), where a move is a copy.

src='C:\e2e\incoming'
src_host=$(host_path "$src")
d_host=/dev/shm/varnel-e2e-d-$$
rm -rf "$src_host" "$d_host" "$(host_path 'C:\e2e\filed')"
mkdir -p "$src_host" "$(host_path 'C:\e2e\filed')" "$d_host/filed"
ln -sfn "$d_host" "$WINEPREFIX/dosdevices/d:"
on_exit "rm -f '$WINEPREFIX/dosdevices/d:'; rm -rf '$d_host'"
[[ $(stat -c %d "$d_host") != $(stat -c %d "$src_host") ]] || abort "D: is on C:'s file system"

grow_then_move() {  # TARGET TARGET_HOST NAME
  local from=$src_host/$3 to=$2/$3 flag="$E2E_WIN_DIR\\$3.done" out=$E2E_HOST_DIR/grow.out size
  varnel_install <(printf '%s\r\n' '[Watch]' Enb=1 Mode=0 "SRCPath=$src" "TrgPath=$1" Ext0=csv)
  varnel_start && varnel_wait_form || abort "Varnel starts (its main form appears)"
  rm -f "$(host_path "$flag")" "$out"
  probe grow --file "$src\\$3" --until "$flag" --timeout 60000 &
  wait_for "grep -qx held '$out' 2>/dev/null" 20 || abort "the writer holds $3 open"
  size=$(stat -c %s "$from")
  check "to $1: while written, $3 stays (two watch steps and more)" \
    holds_for 11 "[[ -f '$from' && ! -e '$to' ]]"
  check "... growing meanwhile" test "$(stat -c %s "$from")" -gt "$size"
  touch "$(host_path "$flag")" && wait $!
  check "... once closed, moved within a watch step" wait_for "[[ ! -e '$from' && -f '$to' ]]" 15
  check_eq "... whole" "$(sed -n 's/^closed bytes=//p' "$out")" "$(stat -c %s "$to" 2>/dev/null)"
  check "... up to its last line" grep -q 'written just before the close' "$to"
  check_eq "... and nothing else in the target" "$3" "$(ls -A "$2")"
  varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
}

grow_then_move 'C:\e2e\filed' "$(host_path 'C:\e2e\filed')" measurements.csv
grow_then_move 'D:\filed' "$d_host/filed" 測定値.csv
