# The Explorer commands of the Launch menu: "補完Exp" opens a supplementary Explorer that fills
# the work area beside the managed window's slot at the left (LastEdge 1), and "ＤｕａｌEｘｐ"
# puts the managed window into that slot, pinned, with a new supplementary one beside it.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
layout=iiiits   # the fixed head: Pop終了, 補完Exp, 引出時固定, ＤｕａｌEｘｐ, Varnel, separator
settings=$VARNEL_SESSION_DIR/dual.ini
printf '[Exp]\r\nLeft=1\r\nRight=0\r\nWidth=400\r\n[Launch]\r\nRight=1\r\n' >"$settings"
pointer_to $((W / 2)) $((H / 2))
varnel_install "$settings"
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
managed=$E2E_MANAGED

# The left edge first, so that the last edge used is the left one.
read -r l t r b <<<"$(out_rect left 400)"
pointer_to 0 $((H / 2))
wait_for "window_is_at $managed $l $t $r $b" 10 || abort "the managed Explorer comes out at the left; last seen $(last_rect)"

# window_on_work_area HWND LEFT RIGHT: the window spans LEFT..RIGHT and the work area's height.
# Wine's virtual desktop shows its taskbar (20 pixels at the bottom) only at times, and the
# work area shrinks with it: the command uses the work area of the moment it runs, so either
# height is right; the one found is in E2E_B.
window_on_work_area() {
  window_is_at "$1" "$2" "$wt" "$3" "$wb" || window_is_at "$1" "$2" "$wt" "$3" "$H"
}

# launch_menu_command INDEX CONDITION: the Launch menu popped at the right edge, row INDEX
# chosen, CONDITION (its outcome) met. A lost click that closed the menu without the choice
# (Wine's menus now and then miss the pointer) is followed by another round, three at most.
launch_menu_command() {
  local round
  for round in 1 2 3; do
    launch_menu_round "$1" "$2" && break
    e2e_note "round $round of row $1 had no effect"
    ((round < 3)) || return 1
  done
  # The command lays the windows out on the work area of that moment.
  work_area_now || return 1
  wl=$E2E_WORK_LEFT wt=$E2E_WORK_TOP wr=$E2E_WORK_RIGHT wb=$E2E_WORK_BOTTOM
  e2e_note "work area ($wl,$wt)-($wr,$wb)"
}

launch_menu_round() {
  pointer_to $((W / 2)) $((H / 2))
  menu_gone 5 || return 1
  wait_for "window_is_off_screen $managed" 10 || return 1
  pointer_to $((W - 1)) 400
  menu_appears 10 || return 1
  menu_has_rows "$layout" || return 1
  menu_choose "$layout" "$1" "$2"
}

# ---- 補完Exp -----------------------------------------------------------------------------------
known=$managed
launch_menu_command 1 "explorer_new_appears $known" || abort "補完Exp chosen from the Launch menu at the right edge: a new Explorer window opens"
supplementary=$E2E_NEW_EXPLORER
if wait_for "window_on_work_area $supplementary $((wl + 400)) $wr" 15; then
  pass "補完Exp: the new Explorer fills the work area right of the slot: $(last_rect)"
else
  fail "補完Exp: the new Explorer at ($((wl + 400)),$wt)-($wr,$wb); last seen $(last_rect)"
fi
check "the managed Explorer stays parked" window_is_off_screen "$managed"
screenshot supplementary >/dev/null

# ---- ＤｕａｌEｘｐ -------------------------------------------------------------------------------
known="$managed $supplementary"
launch_menu_command 3 "explorer_new_appears $known" || abort "ＤｕａｌEｘｐ chosen from the Launch menu at the right edge: one more Explorer window opens"
second=$E2E_NEW_EXPLORER
if wait_for "window_on_work_area $managed $wl $((wl + 400))" 15; then
  pass "ＤｕａｌEｘｐ: the managed Explorer in its slot $(last_rect)"
  slot_bottom=$E2E_B
else
  fail "ＤｕａｌEｘｐ: the managed Explorer at ($wl,$wt)-($((wl + 400)),$wb); last seen $(last_rect)"
fi
if wait_for "window_on_work_area $second $((wl + 400)) $wr" 15; then
  pass "ＤｕａｌEｘｐ: the new Explorer beside it $(last_rect)"
else
  fail "ＤｕａｌEｘｐ: the new Explorer at ($((wl + 400)),$wt)-($wr,$wb); last seen $(last_rect)"
fi
shot=$(screenshot dual)
# Pinned: the managed window stays while the pointer is away from it.
pointer_to $((W * 3 / 4)) $((H / 2))
# 1.5 s, well over Pos.Sense ticks and a slide.
check "pinned: the managed Explorer stays in its slot with the pointer away" \
  holds_for 1.5 "window_is_at $managed $wl $wt $((wl + 400)) ${slot_bottom:-$wb}"
lit=$(region_lit "$shot" "$wl" "$wt" "$wr" "$wb")
check "the screenshot shows the two windows over the whole work area ($lit lit pixels)" \
  test "$lit" -ge $(((wr - wl) * (wb - wt) * 9 / 10))

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
