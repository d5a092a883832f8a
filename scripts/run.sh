#!/usr/bin/env bash
# Builds Varnel for Windows and runs it under Wine: the README's run command.
#
# It always runs on a fresh virtual X display of its own (Xvfb), with or without $DISPLAY, so
# that every run starts from the same empty screen and never touches the desktop you work on.
# What Varnel shows is saved as screenshots in artifacts/run/.
#
#   scripts/run.sh                  build, start, watch for RUN_SECONDS (default 20), close
#   RUN_SECONDS=60 scripts/run.sh
#   RUN_NO_BUILD=1 scripts/run.sh   use the exe already in build/windows/
#
# The showcase is a list of steps (the functions named in `steps` below), each a short
# function: add a step to show a new feature.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
run_seconds=${RUN_SECONDS:-20}
export E2E_ARTIFACTS=$repo/artifacts/run
E2E_SCENARIO=run

say() { printf '\n== %s\n' "$*"; }

bash scripts/setup.sh || exit 1
if [[ -z ${RUN_NO_BUILD:-} ]]; then
  say "building the windows preset"
  { cmake --preset windows && cmake --build --preset windows -j "${JOBS:-2}"; } || exit 1
fi

source tests/e2e/lib.sh
rm -rf "$E2E_ARTIFACTS"
mkdir -p "$E2E_ARTIFACTS"

say "starting Wine on a virtual display (1280x800), inside a Wine virtual desktop"
# Varnel starts its Explorer when its main form is first activated; only a virtual desktop
# activates windows on a bare X display.
export VARNEL_VIRTUAL_DESKTOP=1
e2e_session_start run "${RUN_DISPLAY:-95}" || exit 1
pointer_to $((VARNEL_SCREEN_W / 2)) $((VARNEL_SCREEN_H / 2))

# Lists Varnel's top-level windows from the last probe listing.
show_windows() {
  printf '  %-12s %-14s %-16s %-22s %s\n' handle class caption rectangle visible
  awk -F'\t' 'NR > 1 && tolower($6) == "varnel.exe" {
      printf "  %-12s %-14s %-16s %-22s %s\n", $1, $2, $3, "(" $7 "," $8 ")-(" $9 "," $10 ")", $13 }' "$E2E_WINDOWS"
}

step_start() {
  say "starting varnel.exe (C:\\varnel\\varnel.exe; its settings file names only a Launch folder)"
  # A Launch folder of real shortcuts for the Launch menu: Tools (Regedit), Notepad, Winver.
  launch_folder_make 'C:\launch' || echo "(could not make the Launch folder; the menu shows its fixed items only)"
  local settings=$VARNEL_SESSION_DIR/run.ini
  printf '[Launch]\r\nPath=C:\\launch\\\r\n' >"$settings"
  varnel_install "$settings"
  varnel_start
  if ! varnel_wait_form; then
    echo "varnel.exe did not show its main form; its output: $VARNEL_SESSION_DIR/varnel-run.log"
    return 1
  fi
  probe_list
  echo "Varnel runs (pid $VARNEL_PID). Its windows:"
  show_windows
  echo "screenshot: $(screenshot 01-started)"
}

step_explorer_parked() {
  say "waiting for the Explorer it starts (Wine's explorer.exe) to be parked off screen"
  if ! wait_for 'explorer_new_appears' 60; then
    echo "no Explorer window appeared"
    return 1
  fi
  managed=$E2E_NEW_EXPLORER
  if ! wait_for "window_is_parked $managed" 20; then
    echo "the Explorer window $managed is not parked: $(last_rect)"
    return 1
  fi
  echo "Explorer window $managed parked at $(last_rect)"
  echo "screenshot: $(screenshot 02-explorer-parked)"
}

step_slide() {
  local l t r b
  read -r l t r b <<<"$(out_rect left 400)"
  say "pointer to the left edge (0, $((VARNEL_SCREEN_H / 2))): the Explorer slides out"
  pointer_to 0 $((VARNEL_SCREEN_H / 2))
  if wait_for "window_is_at $managed $l $t $r $b" 10; then
    echo "out at $(last_rect)"
  else
    echo "did not come out to ($l,$t)-($r,$b): $(last_rect)"
  fi
  echo "screenshot: $(screenshot 03-explorer-out-left)"
  say "pointer to (700, $((VARNEL_SCREEN_H / 2))), right of the window: it parks again"
  pointer_to 700 $((VARNEL_SCREEN_H / 2))
  if wait_for "window_is_parked $managed" 10; then
    echo "parked at $(last_rect)"
  else
    echo "did not park: $(last_rect)"
  fi
  echo "screenshot: $(screenshot 04-explorer-parked-again)"
  pointer_to $((VARNEL_SCREEN_W / 2)) $((VARNEL_SCREEN_H / 2))
}

step_launch_menu() {
  say "pointer to the right edge ($((VARNEL_SCREEN_W - 1)), 400): the Launch menu pops at the pointer"
  pointer_to $((VARNEL_SCREEN_W - 1)) 400
  if menu_appears 10; then
    echo "menu window at ($E2E_MENU_L,$E2E_MENU_T)-($E2E_MENU_R,$E2E_MENU_B)"
    # Let it paint before the picture.
    wait_for "(( \$(region_dark \"\$(screenshot 05-launch-menu)\" $E2E_MENU_L $E2E_MENU_T $E2E_MENU_R $E2E_MENU_B) > 300 ))" 5 >/dev/null
    echo "screenshot: $E2E_ARTIFACTS/05-launch-menu.png"
  else
    echo "no Launch menu appeared"
  fi
  say "pointer back to the middle: the menu goes away by itself (Launch.Idle, 0.6 s)"
  pointer_to $((VARNEL_SCREEN_W / 2)) $((VARNEL_SCREEN_H / 2))
  if menu_gone 10; then echo "gone"; else echo "the menu is still open"; fi
}

step_tray_menu() {
  say "a left click on the tray icon (in the Wine desktop's taskbar): the tray menu"
  if ! tray_click 1; then
    echo "no notification area on screen; skipped"
    return 0
  fi
  if menu_appears 10; then
    wait_for "(( \$(region_dark \"\$(screenshot 06-tray-menu)\" $E2E_MENU_L $E2E_MENU_T $E2E_MENU_R $E2E_MENU_B) > 200 ))" 5 >/dev/null
    echo "menu window at ($E2E_MENU_L,$E2E_MENU_T)-($E2E_MENU_R,$E2E_MENU_B); screenshot: $E2E_ARTIFACTS/06-tray-menu.png"
    # A click on the empty desktop closes it without a choice.
    xdotool mousemove $((VARNEL_SCREEN_W / 2)) $((VARNEL_SCREEN_H / 2)) click 1
    menu_gone 10 || echo "the tray menu is still open"
  else
    echo "no tray menu appeared"
  fi
}

step_watch() {
  say "leaving it running for $run_seconds s (a screenshot every 5 s)"
  local deadline=$((SECONDS + run_seconds)) n=0
  while ((SECONDS < deadline)); do
    process_running "$VARNEL_PID" || { echo "varnel.exe ended by itself"; return 1; }
    sleep 5
    n=$((n + 1))
    screenshot "$(printf '07-running-%02d' "$n")" >/dev/null
  done
  echo "$n screenshots taken"
}

step_close() {
  say "closing it with WM_CLOSE, as Windows does at logoff"
  varnel_close
  if ! varnel_wait_exit; then
    echo "varnel.exe did not exit"
    return 1
  fi
  echo "exit status $VARNEL_EXIT_CODE"
  screenshot 08-closed >/dev/null
}

step_settings_file() {
  say "the settings file it wrote: C:\\varnel\\varnel.ini ($(ini_encoding "$VARNEL_INI" 2>/dev/null))"
  if [[ -f $VARNEL_INI ]]; then
    cp "$VARNEL_INI" "$E2E_ARTIFACTS/varnel.ini"
    ini_text "$VARNEL_INI"
  else
    echo "(no settings file)"
    return 1
  fi
}

steps=(step_start step_explorer_parked step_slide step_launch_menu step_tray_menu step_watch step_close step_settings_file)
status=0
for step in "${steps[@]}"; do
  "$step" || { status=1; break; }
done
varnel_stop_leftover
wine_session_stop
say "screenshots and files: ${E2E_ARTIFACTS#"$repo"/}/"
ls "$E2E_ARTIFACTS"
exit "$status"
