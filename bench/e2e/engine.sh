#!/usr/bin/env bash
# The edge-slide engine of the real program under Wine, with Wine's own explorer.exe as the
# managed Explorer. Measures, never asserts:
#
#   1. start to a parked Explorer: from starting varnel.exe to its new Explorer window lying
#      parked off screen (polled through the probe, about 0.2 s resolution), BENCH_STARTS runs;
#   2. CPU time of the resident process over BENCH_IDLE_SECONDS (default 60) with the Explorer
#      parked and the pointer in the middle of the screen: varnel.exe (the wine process that
#      runs it), the Explorer it manages and the prefix's wineserver, from /proc/PID/stat;
#   3. one slide-out at the defaults (Exp.Width 400, Pos.Speed 10, Pos.Sense 3), BENCH_SLIDES
#      times: xdotool puts the pointer at the left edge and the probe polls the window's
#      rectangle every millisecond until it is 400 wide, so the figures split into the
#      counting at the edge (pointer to first frame) and the slide (first frame to full width);
#   4. private bytes of varnel.exe after start, after the idle minute and after BENCH_CYCLES
#      (default 100) slide-outs and parks.
#
#   bench/e2e/engine.sh                       build/windows/varnel.exe
#   BENCH_IDLE_SECONDS=10 BENCH_CYCLES=20 bench/e2e/engine.sh     a quick look
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
starts=${BENCH_STARTS:-3}
idle_seconds=${BENCH_IDLE_SECONDS:-60}
slides=${BENCH_SLIDES:-5}
cycles=${BENCH_CYCLES:-100}
export E2E_ARTIFACTS=${E2E_ARTIFACTS:-$repo/artifacts/bench}
E2E_SCENARIO=bench-engine
# Varnel starts its Explorer when its main form is first activated: a virtual desktop.
export VARNEL_VIRTUAL_DESKTOP=1
source "$repo/tests/e2e/lib.sh"

[[ -f $VARNEL_EXE ]] || { echo "missing $VARNEL_EXE: cmake --preset windows && cmake --build --preset windows" >&2; exit 1; }

source "$repo/bench/e2e/bench-lib.sh"

private_kib() {  # WINDOWS_PID
  probe memory --pid "$1" && echo $(($(sed -n 's/^private_bytes=//p' "$E2E_PROBE_OUT") / 1024))
}

e2e_session_start bench-engine "${BENCH_DISPLAY:-97}" >/dev/null || exit 1
W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
pointer_to $((W / 2)) $((H / 2))

# ---- 1. start to parked --------------------------------------------------------------------
start_ms=()
for ((i = 1; i <= starts; i++)); do
  varnel_install
  started=$(now)
  if varnel_start_with_explorer; then
    start_ms+=("$(ms_since "$started")")
  else
    echo "start $i: no parked Explorer" >&2
  fi
  if ((i < starts)); then
    varnel_close_and_wait >/dev/null
    explorer_close_all
  fi
done
[[ -n ${E2E_MANAGED:-} ]] && process_running "$VARNEL_PID" || { echo "Varnel is not running with its Explorer" >&2; exit 1; }
managed=$E2E_MANAGED
probe_list
win_pid=$(window_field "$(window_find TForm1 varnel.exe | head -n 1)" pid)
mem_start=$(private_kib "$win_pid")

# ---- 2. idle CPU ---------------------------------------------------------------------------
server_pid=$(prefix_wineserver_pid) || server_pid=
explorer_pid=$(prefix_process_pid 'explorer.exe /n,') || explorer_pid=
sleep 2
v0=$(cpu_ticks "$VARNEL_PID")
e0=$([[ -n $explorer_pid ]] && cpu_ticks "$explorer_pid" || echo 0)
s0=$([[ -n $server_pid ]] && cpu_ticks "$server_pid" || echo 0)
sleep "$idle_seconds"
v1=$(cpu_ticks "$VARNEL_PID")
e1=$([[ -n $explorer_pid ]] && cpu_ticks "$explorer_pid" || echo 0)
s1=$([[ -n $server_pid ]] && cpu_ticks "$server_pid" || echo 0)
cpu_line() {  # NAME TICKS
  awk -v n="$1" -v t="$2" -v hz="$clock_ticks" -v s="$idle_seconds" \
    'BEGIN { printf "    %-22s %6.2f s CPU  (%.2f %% of one core)\n", n, t / hz, 100 * t / hz / s }'
}
window_is_parked "$managed" >/dev/null || echo "note: the Explorer was not parked after the idle time" >&2
mem_idle=$(private_kib "$win_pid")

# ---- 3. slide-out timing -------------------------------------------------------------------
# xdotool moves the pointer (a SetCursorPos from the probe can be dropped by Wine, see the
# probe); the probe's wall-clock report is set against the time taken just before xdotool.
read -r l t r b <<<"$(out_rect left 400)"
count_ms=() slide_ms=() total_ms=() park_ms=()
for ((i = 1; i <= slides; i++)); do
  moved=$(now)
  pointer_to 0 $((H / 2))
  probe watch --hwnd "$managed" --left "$l" --top "$t" --width 400 --timeout 10000
  if [[ $(report_value result) == met ]]; then
    first=$(report_value first_change_unix)
    end=$(report_value end_unix)
    # A first frame before the probe's first look cannot be dated: only the total counts then.
    if [[ $first != -1.000000 ]]; then
      count_ms+=("$(diff_ms "$first" "$moved")")
      slide_ms+=("$(diff_ms "$end" "$first")")
    fi
    total_ms+=("$(diff_ms "$end" "$moved")")
  else
    echo "slide $i: $(report_value result) ($(report_value rect))" >&2
  fi
  moved=$(now)
  pointer_to 700 $((H / 2))
  probe watch --hwnd "$managed" --left "-$W" --top "-$H" --timeout 10000
  [[ $(report_value result) == met ]] && park_ms+=("$(diff_ms "$(report_value end_unix)" "$moved")")
  sleep 0.3
done

# ---- 4. memory over many slides ------------------------------------------------------------
done_cycles=0
cycles_started=$(now)
for ((i = 1; i <= cycles; i++)); do
  pointer_to 0 $((H / 2))
  probe watch --hwnd "$managed" --left "$l" --width 400 --timeout 10000 || { echo "cycle $i: no slide-out" >&2; break; }
  pointer_to 700 $((H / 2))
  probe watch --hwnd "$managed" --left "-$W" --timeout 10000 || { echo "cycle $i: no park" >&2; break; }
  done_cycles=$i
done
cycles_seconds=$(ms_since "$cycles_started")
mem_cycles=$(private_kib "$win_pid")

varnel_close_and_wait >/dev/null
wine_session_stop

echo "Varnel engine under Wine ($("$VARNEL_WINE64" --version 2>/dev/null), virtual desktop ${W}x${H}, Wine's explorer.exe)"
echo "  start to a parked Explorer: median $(printf '%s\n' "${start_ms[@]}" | median) ms  (runs: ${start_ms[*]:-none} ms; ~200 ms polling)"
echo "  idle CPU over ${idle_seconds} s, Explorer parked, pointer in the middle:"
cpu_line "varnel.exe" $((v1 - v0))
[[ -n $explorer_pid ]] && cpu_line "managed explorer.exe" $((e1 - e0))
[[ -n $server_pid ]] && cpu_line "wineserver" $((s1 - s0))
echo "  slide-out at the left, defaults ($slides runs, medians):"
echo "    pointer at the edge to the first frame (Pos.Sense ticks): $(printf '%s\n' "${count_ms[@]}" | median) ms  (${count_ms[*]:-none})"
echo "    first frame to full width (the slide itself):            $(printf '%s\n' "${slide_ms[@]}" | median) ms  (${slide_ms[*]:-none})"
echo "    pointer at the edge to full width:                       $(printf '%s\n' "${total_ms[@]}" | median) ms"
echo "    pointer away to parked:                                  $(printf '%s\n' "${park_ms[@]}" | median) ms  (${park_ms[*]:-none})"
echo "  private bytes of varnel.exe:"
echo "    after start:                  ${mem_start:-?} KiB"
echo "    after ${idle_seconds} s idle:               ${mem_idle:-?} KiB"
echo "    after $done_cycles slide-outs and parks: ${mem_cycles:-?} KiB  (the cycles took $((cycles_seconds / 1000)) s)"
