#!/usr/bin/env bash
# What the resident engine costs at rest and in a slide, set against a bare program that does
# only what must be done (bench/bare/bare_engine.cpp), in one run under Wine on one Explorer
# window. Measures, never asserts:
#
#   1. idle CPU over BENCH_IDLE_SECONDS (default 30), Explorer parked, pointer in the middle of
#      the screen: varnel.exe, the prefix's wineserver and every explorer.exe together; then
#      the same with Varnel ended (its Explorer left parked) and the bare program polling the
#      pointer and the left button every 100 ms instead; the ratio;
#   2. the slide-out at the left at the defaults (400 dots, 10 frames), BENCH_SLIDES times
#      (default 15): from its first frame to its full width, as the probe sees the rectangle
#      (polled every millisecond); then the same moves and repaints made by the bare program on
#      the same window; the ratio of the medians.
#
#   bench/e2e/idle.sh           build/windows/varnel.exe and build/windows/bench/bare/bare_engine.exe
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
idle_seconds=${BENCH_IDLE_SECONDS:-30}
slides=${BENCH_SLIDES:-15}
export E2E_ARTIFACTS=${E2E_ARTIFACTS:-$repo/artifacts/bench}
E2E_SCENARIO=bench-idle
# Varnel starts its Explorer when its main form is first activated: a virtual desktop.
export VARNEL_VIRTUAL_DESKTOP=1
source "$repo/tests/e2e/lib.sh"
source "$repo/bench/e2e/bench-lib.sh"
BARE=${BARE_ENGINE:-$repo/build/windows/bench/bare/bare_engine.exe}

[[ -f $VARNEL_EXE && -f $BARE ]] || { echo "missing $VARNEL_EXE or $BARE: cmake --preset windows && cmake --build --preset windows" >&2; exit 1; }

e2e_session_start bench-idle "${BENCH_DISPLAY:-99}" >/dev/null || exit 1
W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
cp "$BARE" "$E2E_HOST_DIR/bare_engine.exe"
pointer_to $((W / 2)) $((H / 2))

# idle_ticks PID: CPU ticks over the idle time of PID, the wineserver and every explorer.exe:
# "total program server explorers".
idle_ticks() {
  local program=$1 server explorers
  server=$(prefix_wineserver_pid)
  explorers=$(prefix_process_pids explorer.exe | tr '\n' ' ')
  # The start's own work (fonts, the first paints) is over before the count begins.
  sleep 2
  local p0 s0 e0 p1 s1 e1
  p0=$(cpu_ticks "$program") s0=$(cpu_ticks $server) e0=$(cpu_ticks $explorers)
  sleep "$idle_seconds"
  p1=$(cpu_ticks "$program") s1=$(cpu_ticks $server) e1=$(cpu_ticks $explorers)
  echo "$((p1 - p0 + s1 - s0 + e1 - e0)) $((p1 - p0)) $((s1 - s0)) $((e1 - e0))"
}

# slide_ms COMMAND...: runs COMMAND (which slides the window out within a second or so) and
# prints the milliseconds from the window's first change to its full width at the left.
read -r out_l out_t _ _ <<<"$(out_rect left 400)"
slide_ms() {
  "$@"
  probe watch --hwnd "$managed" --left "$out_l" --top "$out_t" --width 400 --timeout 10000
  local first end
  first=$(report_value first_change_unix)
  end=$(report_value end_unix)
  [[ $(report_value result) == met && $first != -1.000000 ]] && diff_ms "$end" "$first"
}

# ---- Varnel ----------------------------------------------------------------------------------
varnel_install
varnel_start_with_explorer || { echo "Varnel did not park its Explorer" >&2; exit 1; }
managed=$E2E_MANAGED
read -r varnel_ticks varnel_own varnel_server varnel_explorers <<<"$(idle_ticks "$VARNEL_PID")"
window_is_parked "$managed" >/dev/null || echo "note: the Explorer was not parked after the idle time" >&2

varnel_slides=()
for ((i = 1; i <= slides; i++)); do
  ms=$(slide_ms pointer_to 0 $((H / 2))) && varnel_slides+=("$ms")
  pointer_to $((W / 2)) $((H / 2))
  wait_for "window_is_parked $managed" 10 >/dev/null
done

# Varnel ends without its close (which would close the Explorer): the window stays parked for
# the bare program.
probe_list
probe kill --hwnd "$(window_field "$(window_find TForm1 varnel.exe | head -n 1)" hwnd)" >/dev/null
wait_for "! process_running $VARNEL_PID" 10 >/dev/null

# ---- the bare program ------------------------------------------------------------------------
LC_ALL=$VARNEL_WINE_LOCALE "$VARNEL_WINE64" 'C:\e2e\bare_engine.exe' poll </dev/null >/dev/null 2>&1 &
bare_pid=$!
read -r bare_ticks bare_own bare_server bare_explorers <<<"$(idle_ticks "$bare_pid")"
kill "$bare_pid" 2>/dev/null
wait "$bare_pid" 2>/dev/null

# The program is started in the background and the probe watches meanwhile; it parks the
# window first and waits 1.5 s, so the probe is looking before the first frame.
bare_slide() {
  LC_ALL=$VARNEL_WINE_LOCALE "$VARNEL_WINE64" 'C:\e2e\bare_engine.exe' slide "$managed" 1500 </dev/null >/dev/null 2>&1 &
  echo $! >"$VARNEL_SESSION_DIR/bare-slide.pid"
}
bare_slides=()
for ((i = 1; i <= slides; i++)); do
  ms=$(slide_ms bare_slide) && bare_slides+=("$ms")
  slider=$(<"$VARNEL_SESSION_DIR/bare-slide.pid")
  wait_for "! process_running $slider" 20 >/dev/null
done

explorer_close_all
wine_session_stop

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
seconds() { awk -v t="$1" -v hz="$clock_ticks" 'BEGIN { printf "%.2f", t / hz }'; }
varnel_slide=$(printf '%s\n' "${varnel_slides[@]}" | median)
bare_slide_ms=$(printf '%s\n' "${bare_slides[@]}" | median)
echo "Varnel at rest and in a slide, against a bare program, under Wine ($("$VARNEL_WINE64" --version 2>/dev/null), virtual desktop ${W}x${H})"
echo "  idle CPU over ${idle_seconds} s (the program, the wineserver and every explorer.exe):"
echo "    Varnel, Explorer parked:           $(seconds "$varnel_ticks") s  (varnel.exe $(seconds "$varnel_own"), wineserver $(seconds "$varnel_server"), explorer.exe $(seconds "$varnel_explorers"))"
echo "    bare 100 ms pointer poller:        $(seconds "$bare_ticks") s  (poller $(seconds "$bare_own"), wineserver $(seconds "$bare_server"), explorer.exe $(seconds "$bare_explorers"))"
echo "    ratio:                             $(ratio "$varnel_ticks" "$bare_ticks")  (target: at most 2)"
echo "  slide-out at the left, defaults, first frame to full width ($slides runs, medians):"
echo "    Varnel:                            $varnel_slide ms  (${varnel_slides[*]:-none})"
echo "    bare program, same moves:          $bare_slide_ms ms  (${bare_slides[*]:-none})"
echo "    ratio:                             $(ratio "$varnel_slide" "$bare_slide_ms")  (target: at most 1.2)"
