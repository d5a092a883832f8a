#!/usr/bin/env bash
# Runs the end-to-end scenarios against build/windows/varnel.exe in one Wine session.
#
#   tests/e2e/run-all.sh                 every scenario in tests/e2e/scenarios/
#   tests/e2e/run-all.sh first-start     only the scenarios whose file name contains a word
#
# Environment: VARNEL_EXE, VARNEL_PROBE (defaults: the windows preset's build), E2E_DISPLAY
# (Xvfb display number, default 90 or the next free one), E2E_TIMEOUT (seconds, default 30).
# Screenshots go to artifacts/e2e/. The last line reads "N passed, N failed".
#
# Everything runs inside a Wine virtual desktop of the screen's size (VARNEL_VIRTUAL_DESKTOP=0
# for a bare Xvfb): Varnel starts its Explorer when its main form is first activated, and on a
# bare Xvfb no window is ever activated; buttons held away from Wine's windows are seen only
# there as well.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

scenarios=()
for file in "$E2E_DIR"/scenarios/*.sh; do
  name=$(basename "$file" .sh)
  if (($# == 0)); then
    scenarios+=("$file")
  else
    for word in "$@"; do
      [[ $name == *"$word"* ]] && { scenarios+=("$file"); break; }
    done
  fi
done
if ((${#scenarios[@]} == 0)); then
  echo "no scenario matches: $*" >&2
  exit 2
fi

if [[ ${VARNEL_VIRTUAL_DESKTOP:-1} == 0 ]]; then unset VARNEL_VIRTUAL_DESKTOP; else export VARNEL_VIRTUAL_DESKTOP=1; fi
e2e_session_start e2e "${E2E_DISPLAY:-90}" || { echo "could not start the Wine session" >&2; exit 1; }

for file in "${scenarios[@]}"; do
  E2E_SCENARIO=$(basename "$file" .sh)
  echo "== $E2E_SCENARIO"
  started=$SECONDS
  # A subshell per scenario: its variables and an abort stay inside, and a Varnel it left
  # running is ended before the next one starts.
  (
    # The managed Explorer outlives Varnel (parked off screen): the next scenario starts
    # without Explorer windows, and the pointer back in the middle of the screen.
    trap 'run_on_exit; varnel_stop_leftover; explorer_close_all; xdotool mousemove $((VARNEL_SCREEN_W / 2)) $((VARNEL_SCREEN_H / 2)) mouseup 1 mouseup 3 2>/dev/null' EXIT
    # shellcheck source=/dev/null
    source "$file"
  )
  echo "   ($((SECONDS - started)) s)"
done

e2e_summary
status=$?
wine_session_stop
exit "$status"
