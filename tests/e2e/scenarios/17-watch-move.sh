# The watched folder, moving (Watch.Mode=0): a file of a listed extension that lands in the
# watched folder is in the target folder by the next watch step (every 5 s). A name the target
# already has is never replaced: that file waits, both keep their bytes, and it goes once the
# name is free. Files of other extensions stay. Exp.Watch=1 (following the Explorer's folder,
# which Wine's shell cannot report) leaves the Explorer sliding as before.

needs_virtual_desktop

H=$VARNEL_SCREEN_H
src='C:\e2e\drop'
trg='C:\e2e\sorted'
src_host=$(host_path "$src")
trg_host=$(host_path "$trg")
kept=$VARNEL_SESSION_DIR/watch-move
rm -rf "$src_host" "$trg_host" "$kept"
mkdir -p "$src_host" "$trg_host" "$kept"
printf 'the one already sorted\r\n' >"$trg_host/same.txt"
cp "$trg_host/same.txt" "$kept/same-target.txt"

# The watched folder typed with its final backslash, the target without.
settings=$VARNEL_SESSION_DIR/watch-move.ini
printf '[Exp]\r\nWatch=1\r\n[Watch]\r\nEnb=1\r\nMode=0\r\nSRCPath=%s\\\r\nTrgPath=%s\r\nExt0=txt\r\nExt1=JPG\r\n' \
  "$src" "$trg" >"$settings"
pointer_to $((VARNEL_SCREEN_W / 2)) $((H / 2))
varnel_install "$settings"
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
managed=$E2E_MANAGED

# What a download or a scanner leaves in the folder.
head -c 4096 /dev/urandom >"$kept/report.txt"
head -c 20000 /dev/urandom >"$kept/photo.jpg"
printf 'a newer one of the same name\r\n' >"$kept/same.txt"
printf 'not listed\r\n' >"$kept/notes.log"
cp "$kept"/{report.txt,photo.jpg,same.txt,notes.log} "$src_host/"

moved() { [[ ! -e $src_host/$1 ]] && cmp -s "$kept/$1" "$trg_host/$1"; }
if wait_for 'moved report.txt && moved photo.jpg' 15; then
  pass "report.txt and photo.jpg (Ext1=JPG) reach the target unchanged within a watch step"
else
  fail "report.txt and photo.jpg move to the target; drop: $(ls "$src_host" | tr '\n' ' ') target: $(ls "$trg_host" | tr '\n' ' ')"
fi
# The step that moved them tried same.txt too; one more step retries it.
check "same.txt (a name the target has) and notes.log (not listed) stay in the watched folder" \
  holds_for 6 "[[ -f $src_host/same.txt && -f $src_host/notes.log ]]"
both_kept() { cmp -s "$kept/same.txt" "$src_host/same.txt" && cmp -s "$kept/same-target.txt" "$trg_host/same.txt"; }
check "both files named same.txt keep their bytes" both_kept

# The user clears the name in the target: the waiting file goes at a later step.
rm "$trg_host/same.txt"
check "once the name is free, same.txt is moved at a later step" wait_for 'moved same.txt' 15
check "notes.log is still where it was" cmp -s "$kept/notes.log" "$src_host/notes.log"

# Folder following on: the Explorer still comes out at the edge and goes back.
read -r l t r b <<<"$(out_rect left 400)"
pointer_to 0 $((H / 2))
if wait_for "window_is_at $managed $l $t $r $b" 10; then
  pass "with Exp.Watch=1 the Explorer slides out at the left edge"
else
  fail "with Exp.Watch=1 the Explorer slides out to ($l,$t)-($r,$b); last seen $(last_rect)"
fi
screenshot watch-follow-out >/dev/null
pointer_to 700 $((H / 2))
check "... and parks again" wait_for "window_is_parked $managed" 10
check "Varnel is still running" process_running "$VARNEL_PID"

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
