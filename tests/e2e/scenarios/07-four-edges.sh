# Every edge enabled: the window comes out at the left, the right, the top and the bottom, each
# at its resting place on the work area, and goes back when the pointer moves into the screen.

needs_virtual_desktop

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
settings=$VARNEL_SESSION_DIR/four-edges.ini
printf '[Exp]\r\nLeft=1\r\nRight=1\r\nUpper=1\r\nLower=1\r\n' >"$settings"
pointer_to $((W / 2)) $((H / 2))
varnel_install "$settings"
varnel_start_with_explorer || abort "Varnel starts its Explorer and parks it"
managed=$E2E_MANAGED

# Points on each edge away from the corner dead zones (Pos.INHdotX 30, Pos.INHdotY 20).
for edge in left right top bottom; do
  case $edge in
    left) x=0 y=$((H / 2)) size=400 ;;
    right) x=$((W - 1)) y=$((H / 2)) size=400 ;;
    top) x=$((W / 2)) y=0 size=300 ;;
    bottom) x=$((W / 2)) y=$((H - 1)) size=300 ;;
  esac
  read -r l t r b <<<"$(out_rect $edge $size)"
  pointer_to "$x" "$y"
  if wait_for "window_is_at $managed $l $t $r $b" 10; then
    pass "$edge edge ($x,$y): out at ($l,$t)-($r,$b)"
  else
    fail "$edge edge ($x,$y): out at ($l,$t)-($r,$b); last seen $(last_rect)"
  fi
  screenshot "edge-$edge" >/dev/null
  # The middle of the screen is beyond Pos.Offset from the window for every edge.
  pointer_to $((W / 2)) $((H / 2))
  wait_for "window_is_parked $managed" 10 || fail "$edge edge: parked again; last seen $(last_rect)"
done

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
