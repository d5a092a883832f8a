#!/usr/bin/env bash
# The Launch menu of the real program under Wine. Measures, never asserts:
#
#   1. an empty Launch folder against a generated tree of 10,000 files in 1,000 folders (one
#      folder of 1,000 entries, one 12 levels deep, the rest ordinary; 1,082 entries at the
#      top), "ショートカットのみを対象" off, in one run:
#      - start to the Explorer parked: from the start of varnel.exe until the probe sees the
#        managed Explorer parked (polled, so a few tens of ms coarse); BENCH_STARTS starts
#        (default 3), the median;
#      - pointer at the edge to the menu shown, with "自動読み込み" off and on: xdotool puts
#        the pointer at the right edge (Launch.Right) and the probe polls every millisecond
#        for Varnel's menu window (#32768); BENCH_POPS times (default 5), the median. The
#        figure holds the Pos.Sense ticks of counting at the edge (3 x 100 ms at the defaults);
#      - resident memory (VmRSS of varnel.exe's Linux process) after the pops;
#      - with the tree, opening the submenu of 1,000 entries from the keyboard: from the right
#        arrow until a second menu window is listed (polled);
#   2. building the Launch menu from 2,000 shortcuts in 100 folders with and without the icon
#      cache, every submenu made at once: bench/win/LaunchBuildBench.cpp
#      (launch_build_bench.exe), as the program has no switch for the cache;
#   3. what the system itself spends showing a popup menu of the empty folder's shape and of
#      the tree's top, the program's code against bare Win32 calls with the same items:
#      bench/win/MenuShowBench.cpp (menu_show_bench.exe). Where the two agree, the time is
#      the system's, whatever the program does.
#
#   bench/e2e/launch.sh            build/windows/varnel.exe, launch_build_bench.exe and
#                                  menu_show_bench.exe
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
pops=${BENCH_POPS:-5}
starts=${BENCH_STARTS:-3}
export E2E_ARTIFACTS=${E2E_ARTIFACTS:-$repo/artifacts/bench}
E2E_SCENARIO=bench-launch
export VARNEL_VIRTUAL_DESKTOP=1
source "$repo/tests/e2e/lib.sh"
BUILD_BENCH=${BUILD_BENCH:-$repo/build/windows/bench/win/launch_build_bench.exe}
SHOW_BENCH=${SHOW_BENCH:-$repo/build/windows/bench/win/menu_show_bench.exe}

for needed in "$VARNEL_EXE" "$BUILD_BENCH" "$SHOW_BENCH"; do
  [[ -f $needed ]] || { echo "missing $needed: cmake --preset windows && cmake --build --preset windows" >&2; exit 1; }
done

source "$repo/bench/e2e/bench-lib.sh"

e2e_session_start bench-launch "${BENCH_DISPLAY:-98}" >/dev/null || exit 1
W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H

# ---- the two Launch folders --------------------------------------------------------------------
empty_win='C:\launch-empty'
tree_win='C:\launch-tree'
empty_host=$(host_path "$empty_win")
tree_host=$(host_path "$tree_win")
rm -rf "$empty_host" "$tree_host"
mkdir -p "$empty_host" "$tree_host/Big"
(cd "$tree_host/Big" && for i in $(seq -w 0 999); do : >"entry$i.txt"; done)
deep=$tree_host/Deep
for level in $(seq -w 1 12); do
  deep=$deep/Level$level
  mkdir -p "$deep" && : >"$deep/a$level.txt" && : >"$deep/b$level.txt"
done
for f in $(seq -w 0 986); do
  mkdir -p "$tree_host/Folder$f"
  (cd "$tree_host/Folder$f" && for i in 1 2 3 4 5 6 7 8 9; do : >"file$i.txt"; done)
done
(cd "$tree_host" && for i in $(seq -w 1 93); do : >"top$i.txt"; done)
folders=$(find "$tree_host" -mindepth 1 -type d | wc -l)
files=$(find "$tree_host" -type f | wc -l)

# settings FOLDER AUTO: a settings file for the Launch folder, automatic loading 0 or 1.
settings() {
  local file=$VARNEL_SESSION_DIR/launch-$2-$(basename "$(host_path "$1")").ini
  printf '[Exp]\r\nLeft=1\r\nRight=0\r\n[Launch]\r\nPath=%s\\\r\nRight=1\r\nUpper=0\r\nLnk=0\r\nAuto=%s\r\n[Hotkey]\r\nLaunch=Ctrl+Alt+L\r\n' \
    "$1" "$2" >"$file"
  echo "$file"
}

# start_ms SETTINGS: one start; START_MS is the time to the Explorer parked. Varnel stays up.
start_ms() {
  pointer_to $((W / 2)) $((H / 2))
  varnel_install "$1"
  local started known
  probe_list || return 1
  known=$(explorer_handles | tr '\n' ' ')
  started=$(now)
  varnel_start
  wait_for "explorer_new_appears $known" 60 >/dev/null || return 1
  wait_for "window_is_parked $E2E_NEW_EXPLORER" 30 >/dev/null || return 1
  START_MS=$(ms_since "$started")
}

# pops_ms: BENCH_POPS pops at the right edge, each time to the menu shown, one a line.
pops_ms() {
  local i moved
  for ((i = 1; i <= pops; i++)); do
    pointer_to $((W / 2)) $((H / 2))
    menu_gone 10 || { echo "pop $i: a menu is still open" >&2; continue; }
    # The pointer rests inside the screen for a few ticks, so that counting starts afresh.
    sleep 0.5
    moved=$(now)
    pointer_to $((W - 1)) 400
    if menu_appears 20; then
      diff_ms "$E2E_MENU_SHOWN_UNIX" "$moved"
      echo
    else
      echo "pop $i: no menu" >&2
    fi
    # Away from the menu: it goes by itself after Launch.Idle ticks.
    pointer_to $((W / 2)) $((H / 2))
  done
}

# The resident memory of varnel.exe's Linux process (VmRSS), in KiB.
resident_kib() {
  local pid
  pid=$(prefix_process_pid 'varnel.exe') || return 1
  awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"
}

# submenu_ms: the Launch menu popped by its keystroke, then the right arrow on Big (the
# first entry after the fixed ones), until its submenu is listed; SUBMENU_MS.
submenu_ms() {
  pointer_to 300 200
  xdotool key ctrl+alt+l
  menu_appears 20 >/dev/null || return 1
  xdotool key --delay 100 Down Down Down Down Down Down
  local pressed
  pressed=$(now)
  xdotool key Right
  wait_for "probe_list && (( \$(window_find '#32768' varnel.exe | wc -l) >= 2 ))" 30 >/dev/null || return 1
  SUBMENU_MS=$(ms_since "$pressed")
  xdotool key Escape Escape
  menu_gone 10 >/dev/null
}

declare -A start_med pop_off pop_on memory
for folder in "$empty_win" "$tree_win"; do
  runs=()
  for ((i = 1; i <= starts; i++)); do
    if start_ms "$(settings "$folder" 0)"; then runs+=("$START_MS"); else echo "start $i with $folder failed" >&2; fi
    varnel_close_and_wait >/dev/null
    explorer_close_all
  done
  start_med[$folder]=$(printf '%s\n' "${runs[@]}" | median)
  for auto in 0 1; do
    start_ms "$(settings "$folder" "$auto")" >/dev/null || echo "the start for the pops with $folder failed" >&2
    mapfile -t popped < <(pops_ms)
    if ((auto == 0)); then pop_off[$folder]=$(printf '%s\n' "${popped[@]}" | median); else pop_on[$folder]=$(printf '%s\n' "${popped[@]}" | median); fi
    memory[$folder.$auto]=$(resident_kib)
    [[ $folder == "$tree_win" && $auto == 0 ]] && submenu_ms
    varnel_close_and_wait >/dev/null
    explorer_close_all
  done
done
rm -rf "$empty_host" "$tree_host"

# ---- 2. building from 2,000 shortcuts --------------------------------------------------------
cp "$BUILD_BENCH" "$WINEPREFIX/drive_c/launch_build_bench.exe"
build_report=$VARNEL_SESSION_DIR/launch-build.txt
wine_run 'C:\launch_build_bench.exe' </dev/null >"$build_report" 2>&1 || echo "launch_build_bench failed" >&2
cp "$SHOW_BENCH" "$WINEPREFIX/drive_c/menu_show_bench.exe"
show_report=$VARNEL_SESSION_DIR/menu-show.txt
wine_run 'C:\menu_show_bench.exe' </dev/null >"$show_report" 2>&1 || echo "menu_show_bench failed" >&2
wine_session_stop

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "-" }'; }
row() {  # LABEL EMPTY TREE UNIT
  printf '  %-44s %10s %s %10s %s   %s\n' "$1" "$2" "$4" "$3" "$4" "$(ratio "$3" "$2")"
}
echo "Launch menu under Wine ($("$VARNEL_WINE64" --version 2>/dev/null), virtual desktop ${W}x${H})"
echo "  the tree: $files files in $folders folders; empty folder against the tree, and the ratio"
row "start to the Explorer parked (median of $starts)" "${start_med[$empty_win]}" "${start_med[$tree_win]}" ms
row "edge to menu, 自動読み込み off (median of $pops)" "${pop_off[$empty_win]}" "${pop_off[$tree_win]}" ms
row "edge to menu, 自動読み込み on (median of $pops)" "${pop_on[$empty_win]}" "${pop_on[$tree_win]}" ms
row "resident memory after the pops, off" "${memory[$empty_win.0]}" "${memory[$tree_win.0]}" KiB
row "resident memory after the pops, on" "${memory[$empty_win.1]}" "${memory[$tree_win.1]}" KiB
echo "  opening the submenu of 1,000 entries (right arrow to its window listed): ${SUBMENU_MS:-failed} ms"
sed 's/^/  /' "$build_report"
sed 's/^/  /' "$show_report"
