# Hung clipboard viewers hold nothing of Varnel's up: with one behind it in the chain (it passes
# each change on to it) a copy passes and the Explorer slides; with one ahead, it still exits.

needs_virtual_desktop
flag='C:\e2e\hungviewer.flag'
rm -f "$(host_path "$flag")" "$E2E_HOST_DIR"/{behind,ahead}.out
on_exit "touch '$(host_path "$flag")'"
hung_viewer_join() { # NAME: a viewer joins the chain and, once it says so, answers nothing more
  wine_run "$E2E_WIN_DIR\\probe.exe" hungviewer --until "$flag" --timeout 600000 \
    --out "$E2E_WIN_DIR\\$1.out" </dev/null >/dev/null 2>&1 &
  wait_for "grep -qx joined '$E2E_HOST_DIR/$1.out' 2>/dev/null" 20
}

pointer_to $((VARNEL_SCREEN_W / 2)) $((VARNEL_SCREEN_H / 2))
hung_viewer_join behind || abort "a viewer joins the clipboard chain and stops answering"
varnel_install
check "Varnel starts and parks its Explorer, a hung viewer next in the chain" \
  varnel_start_with_explorer || exit 1
managed=$E2E_MANAGED
probe clip --text 'copied while the viewer hangs' || fail "a copy is made while the viewer hangs"
read -r l t r b <<<"$(out_rect left 400)"
pointer_to 0 $((VARNEL_SCREEN_H / 2))
check "after the copy, the pointer at the left edge slides the Explorer out to ($l,$t)-($r,$b)" \
  wait_for "window_is_at $managed $l $t $r $b" 15
pointer_to $((r + 300)) $((VARNEL_SCREEN_H / 2))
check "the pointer moved away parks it again" wait_for "window_is_parked $managed" 15
hung_viewer_join ahead || abort "a second hung viewer joins ahead of Varnel"
varnel_close
check "with a hung viewer heading the chain, varnel.exe still exits" varnel_wait_exit 30
