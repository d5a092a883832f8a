#!/usr/bin/env bash
# Start-up benchmark of the real program under Wine, and the size of what ships.
#
#   bench/e2e/startup.sh            5 starts (BENCH_RUNS), build/windows/varnel.exe
#
# Measures, never asserts: the time from CreateProcess to an idle message loop
# (WaitForInputIdle, through the probe), each start without a settings file, the private
# bytes once idle, the size of varnel.exe and the DLLs it imports.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
runs=${BENCH_RUNS:-5}
export E2E_ARTIFACTS=${E2E_ARTIFACTS:-$repo/artifacts/bench}
E2E_SCENARIO=bench
source "$repo/tests/e2e/lib.sh"

[[ -f $VARNEL_EXE ]] || { echo "missing $VARNEL_EXE: cmake --preset windows && cmake --build --preset windows" >&2; exit 1; }

source "$repo/bench/e2e/bench-lib.sh"

e2e_session_start bench "${BENCH_DISPLAY:-97}" >/dev/null || exit 1

times=()
memory=()
for ((i = 1; i <= runs; i++)); do
  varnel_install
  probe wait-idle --timeout 30000 -- "$VARNEL_WIN_DIR\\varnel.exe"
  result=$(sed -n 's/^result=//p' "$E2E_PROBE_OUT")
  ms=$(sed -n 's/^idle_ms=//p' "$E2E_PROBE_OUT")
  pid=$(sed -n 's/^pid=//p' "$E2E_PROBE_OUT")
  if [[ $result != idle ]]; then
    echo "run $i: no idle message loop ($result)" >&2
  else
    times+=("$ms")
    if probe memory --pid "$pid"; then
      memory+=("$(sed -n 's/^private_bytes=//p' "$E2E_PROBE_OUT")")
    fi
  fi
  # The started program is the probe's child, not ours: close it and wait until its window goes.
  wait_for 'window_appears TForm1 varnel.exe' 30 >/dev/null
  varnel_close
  wait_for '! window_appears TForm1 varnel.exe' 30 >/dev/null || echo "run $i: varnel.exe did not exit" >&2
done
wine_session_stop

size=$(stat -c %s "$VARNEL_EXE")
mapfile -t dlls < <(x86_64-w64-mingw32-objdump -p "$VARNEL_EXE" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -f)
system_dlls=" kernel32.dll user32.dll gdi32.dll shell32.dll comctl32.dll comdlg32.dll ole32.dll oleaut32.dll"
system_dlls+=" advapi32.dll shlwapi.dll msvcrt.dll ucrtbase.dll uxtheme.dll version.dll psapi.dll imm32.dll "

echo "Varnel start-up under Wine ($("$VARNEL_WINE64" --version 2>/dev/null), $runs runs)"
if ((${#times[@]})); then
  echo "  to idle message loop: median $(printf '%s\n' "${times[@]}" | median) ms  (runs: ${times[*]} ms)"
else
  echo "  to idle message loop: no run reached it"
fi
if ((${#memory[@]})); then
  echo "  private bytes when idle: median $(($(printf '%s\n' "${memory[@]}" | median | cut -d. -f1) / 1024)) KiB"
fi
echo "  varnel.exe: $size bytes ($((size / 1024)) KiB)"
echo "  imported DLLs (${#dlls[@]}):"
for dll in "${dlls[@]}"; do
  lower=$(tr '[:upper:]' '[:lower:]' <<<"$dll")
  if [[ $system_dlls == *" $lower "* ]]; then
    echo "    $dll"
  else
    echo "    $dll   <- not a system DLL"
  fi
done
