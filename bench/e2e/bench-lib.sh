# Helpers the Wine benchmarks share: figures, clocks, and the CPU time of a prefix's processes.
# Sourced after tests/e2e/lib.sh.

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
now() { date +%s.%N; }
ms_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.0f\n", (b - a) * 1000 }'; }
diff_ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (a - b) * 1000 }'; }
report_value() { sed -n "s/^$1=//p" "$E2E_PROBE_OUT"; }
clock_ticks=$(getconf CLK_TCK)

# cpu_ticks PID...: user + system time of Linux processes, in clock ticks, summed.
cpu_ticks() {
  local pid total=0 ticks
  for pid in "$@"; do
    ticks=$(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null) || ticks=0
    total=$((total + ${ticks:-0}))
  done
  echo "$total"
}

# The Linux processes of this session's prefix: its wineserver (whose working folder is the
# prefix's server folder) and the Wine processes whose command line names a program.
prefix_wineserver_pid() {
  # The folder's name holds the prefix's device and inode; where it lies varies by build.
  local dir pid
  dir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for pid in /proc/[0-9]*; do
    [[ $(readlink "$pid/cwd" 2>/dev/null) == */"$dir" ]] && { echo "${pid#/proc/}"; return 0; }
  done
  return 1
}
prefix_process_pids() {  # PATTERN (in the command line): every such process, one a line
  local pid found=1
  for pid in /proc/[0-9]*; do
    tr '\0' ' ' <"$pid/cmdline" 2>/dev/null | grep -q -- "$1" || continue
    tr '\0' '\n' <"$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    echo "${pid#/proc/}"
    found=0
  done
  return "$found"
}
prefix_process_pid() { prefix_process_pids "$1" | head -n 1 | grep .; }
