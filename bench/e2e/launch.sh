#!/usr/bin/env bash
# The Launch menu of the real program under Wine. Measures, never asserts:
#
#   1. pointer at the edge to the menu shown: xdotool puts the pointer at the right edge
#      (Launch.Right, the default), and the probe polls every millisecond for Varnel's menu
#      window (#32768); BENCH_POPS times (default 5), the median. The figure holds the
#      Pos.Sense ticks of counting at the edge (3 x 100 ms at the defaults) and the build of the
#      menu from a Launch folder of a few shortcuts;
#   2. building the Launch menu from 2,000 shortcuts in 100 folders with and without the icon
#      cache, in one run: bench/win/LaunchBuildBench.cpp (launch_build_bench.exe), as the
#      program has no switch for the cache.
#
#   bench/e2e/launch.sh            build/windows/varnel.exe and launch_build_bench.exe
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
pops=${BENCH_POPS:-5}
export E2E_ARTIFACTS=${E2E_ARTIFACTS:-$repo/artifacts/bench}
E2E_SCENARIO=bench-launch
export VARNEL_VIRTUAL_DESKTOP=1
source "$repo/tests/e2e/lib.sh"
BUILD_BENCH=${BUILD_BENCH:-$repo/build/windows/bench/win/launch_build_bench.exe}

[[ -f $VARNEL_EXE && -f $BUILD_BENCH ]] || { echo "missing $VARNEL_EXE or $BUILD_BENCH: cmake --preset windows && cmake --build --preset windows" >&2; exit 1; }

source "$repo/bench/e2e/bench-lib.sh"

e2e_session_start bench-launch "${BENCH_DISPLAY:-98}" >/dev/null || exit 1
W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H

# ---- 1. edge to menu -----------------------------------------------------------------------
launch_folder_make 'C:\launch' || { echo "could not make the Launch folder" >&2; exit 1; }
settings=$VARNEL_SESSION_DIR/launch.ini
printf '[Exp]\r\nLeft=1\r\nRight=0\r\n[Launch]\r\nPath=C:\\launch\\\r\nRight=1\r\n' >"$settings"
pointer_to $((W / 2)) $((H / 2))
varnel_install "$settings"
varnel_start_with_explorer || { echo "Varnel did not start with its Explorer" >&2; exit 1; }
pop_ms=()
for ((i = 1; i <= pops; i++)); do
  pointer_to $((W / 2)) $((H / 2))
  menu_gone 10 || { echo "pop $i: a menu is still open" >&2; continue; }
  # The pointer rests inside the screen for a few ticks, so that counting starts afresh.
  sleep 0.5
  moved=$(date +%s.%N)
  pointer_to $((W - 1)) 400
  if menu_appears 10; then
    pop_ms+=("$(diff_ms "$E2E_MENU_SHOWN_UNIX" "$moved")")
  else
    echo "pop $i: no menu" >&2
  fi
  # Away from the menu: it goes by itself after Launch.Idle ticks.
  pointer_to $((W / 2)) $((H / 2))
done
varnel_close_and_wait >/dev/null
explorer_close_all

# ---- 2. building from 2,000 shortcuts --------------------------------------------------------
cp "$BUILD_BENCH" "$WINEPREFIX/drive_c/launch_build_bench.exe"
build_report=$VARNEL_SESSION_DIR/launch-build.txt
wine_run 'C:\launch_build_bench.exe' </dev/null >"$build_report" 2>&1 || echo "launch_build_bench failed" >&2
wine_session_stop

echo "Launch menu under Wine ($("$VARNEL_WINE64" --version 2>/dev/null), virtual desktop ${W}x${H})"
echo "  pointer at the right edge to the menu shown: median $(printf '%s\n' "${pop_ms[@]}" | median) ms  (runs: ${pop_ms[*]:-none} ms; Pos.Sense 3 ticks)"
sed 's/^/  /' "$build_report"
