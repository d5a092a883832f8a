# Twenty Explorer windows of the user's are open when Varnel starts: it still tells the window
# its own start produced from them, parks that one alone, and touching the edge again and again
# opens no other.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
settings=$VARNEL_SESSION_DIR/many.ini
printf '[Exp]\r\nLeft=1\r\nRight=0\r\nUpper=0\r\nLower=0\r\nWidth=400\r\n' >"$settings"
pointer_to $((W / 2)) $((H / 2))

for ((i = 0; i < 20; i++)); do explorer_open_new 'C:\windows'; done
wait_for "explorer_count_is 20" 120 || abort "twenty Explorer windows open (seen $E2E_EXPLORER_COUNT)"
# All of them shown with their captions: a window still opening when Varnel looks (hidden or
# without a caption yet) would count as the one its own start produced, as on Windows.
explorers_settled() {
  probe_list &&
    (($(awk -F'\t' 'NR > 1 && tolower($2) == "explorerwclass" && $3 != "" && $13 == 1' "$E2E_WINDOWS" | wc -l) == 20))
}
wait_for explorers_settled 60 || abort "the twenty Explorer windows are shown with their captions"
users=$(explorer_handles | tr '\n' ' ')
pass "twenty Explorer windows of the user's are open"

varnel_install "$settings"
varnel_start_with_explorer $users || abort "Varnel starts its Explorer and parks it"
managed=$E2E_MANAGED
pass "the new window ($managed) is parked"
check "it is the one new window: 21 in all" explorer_count_is 21

# None of the user's windows was taken: none lies at the parking place or lost its taskbar
# button.
taken=0
for h in $users; do
  g=$(window_geometry "$h") || { taken=1; e2e_note "window $h is gone"; continue; }
  read -r l t r b ex vis <<<"$g"
  if ((l == -W || (ex & 0x80) != 0 || vis != 1)); then
    taken=1
    e2e_note "window $h: ($l,$t)-($r,$b) exstyle $ex visible $vis"
  fi
done
check_eq "the user's windows are left as they were" 0 "$taken"

read -r l t r b <<<"$(out_rect left 400)"
for touch in 1 2 3 4 5; do
  pointer_to 0 $((H / 2))
  wait_for "window_is_at $managed $l $t $r $b" 15 ||
    abort "touch $touch: the managed window comes out; last seen $(last_rect)"
  pointer_to 700 $((H / 2))
  wait_for "window_is_off_screen $managed" 15 || abort "touch $touch: it goes back; last seen $(last_rect)"
done
pass "five touches of the edge bring the same window out and back"
check "and open no other window: still 21" holds_for 3 "explorer_count_is 21"
screenshot many-explorers >/dev/null

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
