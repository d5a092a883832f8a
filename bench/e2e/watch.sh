#!/usr/bin/env bash
# The watched folder of the real program under Wine, in the move mode. Measures, and counts
# what the moves must never do (lose a file, replace one):
#
#   1. BENCH_FILES (default 1000) files of the listed extensions (txt, jpg; some with Japanese
#      names) dropped at once into the watched folder, each holding its own name, with 20
#      files of an unlisted extension beside them; a tenth of the names (every 10th) are in
#      the target folder already with other contents, half of those spelled in upper case.
#      The watched folder is polled every 0.1 s until only those collisions are left, then
#      through one more step (the step runs every 5 s); then every file is read back: moved
#      whole, left in place whole, target file kept, lost. Also the times from the drop to
#      the first and to the last move seen. BENCH_RUNS (default 3) drops, each into emptied
#      folders, with one Varnel;
#   2. the step's own cost on 10,000 files, on the real system: bench/win/WatchStepBench.cpp
#      (watch_step_bench.exe): the listing and its sort, the open mode's comparison, a move
#      step of 1,000 files.
#
#   bench/e2e/watch.sh      build/windows/varnel.exe and build/windows/bench/win/watch_step_bench.exe
#
# Exits non-zero when a file was lost, replaced or left behind; never for a time.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
files=${BENCH_FILES:-1000}
runs=${BENCH_RUNS:-3}
timeout_s=${BENCH_TIMEOUT:-120}
export E2E_ARTIFACTS=${E2E_ARTIFACTS:-$repo/artifacts/bench}
E2E_SCENARIO=bench-watch
source "$repo/tests/e2e/lib.sh"
source "$repo/bench/e2e/bench-lib.sh"
STEP_BENCH=${STEP_BENCH:-$repo/build/windows/bench/win/watch_step_bench.exe}

[[ -f $VARNEL_EXE && -f $STEP_BENCH ]] || { echo "missing $VARNEL_EXE or $STEP_BENCH: cmake --preset windows && cmake --build --preset windows" >&2; exit 1; }

# No virtual desktop: nothing activates the form, so no Explorer is started to get in the way.
e2e_session_start bench-watch "${BENCH_DISPLAY:-94}" >/dev/null || exit 1
pointer_to $((VARNEL_SCREEN_W / 2)) $((VARNEL_SCREEN_H / 2))
watched=$WINEPREFIX/drive_c/watch/in
target=$WINEPREFIX/drive_c/watch/out
staging=$WINEPREFIX/drive_c/watch/staging
mkdir -p "$watched" "$target" "$staging"

settings=$VARNEL_SESSION_DIR/watch.ini
printf '[Exp]\r\nLeft=0\r\n[Launch]\r\nRight=0\r\nUpper=0\r\n[Watch]\r\nEnb=1\r\nMode=0\r\nSRCPath=C:\\watch\\in\r\nTrgPath=C:\\watch\\out\r\nExt0=txt\r\nExt1=jpg\r\n' >"$settings"
varnel_install "$settings"
varnel_start
varnel_wait_form 60 >/dev/null || { echo "Varnel did not start" >&2; exit 1; }
# The first step comes a little later after the start than the next ones do after it: one
# lone file moved shows that the watch runs before anything is timed.
printf 'first\n' >"$watched/first.txt"
wait_for '[[ ! -e $watched/first.txt ]]' 60 >/dev/null || { echo "Varnel moved no file" >&2; exit 1; }

# The names: most ASCII, every fourth Japanese; every 10th already taken in the target, where
# every other such name is spelled in upper case.
names=() target_names=()
for ((i = 0; i < files; i++)); do
  case $((i % 4)) in
    0 | 2) printf -v name 'file-%04d.txt' "$i" ;;
    1) printf -v name '写真-%04d.jpg' "$i" ;;
    3) printf -v name 'photo-%04d.jpg' "$i" ;;
  esac
  names+=("$name")
  if ((i % 20 == 10)); then target_names+=("$(tr 'a-z' 'A-Z' <<<"$name")"); else target_names+=("$name"); fi
done
collides() { (($1 % 10 == 0)); }

listed_left() {  # the listed files still in the watched folder
  local -a found=("$watched"/*.txt "$watched"/*.jpg)
  echo "${#found[@]}"
}
shopt -s nullglob

collisions=0
for ((i = 0; i < files; i++)); do collides "$i" && collisions=$((collisions + 1)); done
first_ms=() last_ms=() span_ms=() summary=() faults=0
for ((run = 1; run <= runs; run++)); do
  rm -f "$watched"/* "$target"/* "$staging"/*
  for ((i = 0; i < files; i++)); do
    name=${names[i]}
    printf '%s\n' "$name" >"$staging/$name"
    collides "$i" && printf 'old %s\n' "$name" >"$target/${target_names[i]}"
  done
  for ((i = 0; i < 20; i++)); do printf 'other %d\n' "$i" >"$staging/other-$i.dat"; done

  dropped=$(now)
  mv "$staging"/* "$watched"/
  drop=$(ms_since "$dropped")
  first='' last='' count=$files
  deadline=$((SECONDS + timeout_s))
  while ((SECONDS < deadline)); do
    count=$(listed_left)
    [[ -z $first ]] && ((count < files)) && first=$(ms_since "$dropped")
    if ((count <= collisions)); then
      last=$(ms_since "$dropped")
      break
    fi
    sleep 0.1
  done
  [[ -n $first ]] && first_ms+=("$first")
  [[ -n $last ]] && last_ms+=("$last")
  [[ -n $first && -n $last ]] && span_ms+=($((last - first)))
  # One more step: the collisions are tried again and must stay where they are.
  holds_for 6 '(($(listed_left) == collisions))' || echo "run $run: the watched folder changed after the moves" >&2

  moved=0 left=0 kept=0 lost=0 replaced=0 stuck=0
  for ((i = 0; i < files; i++)); do
    name=${names[i]}
    if collides "$i"; then
      [[ -f $watched/$name && $(<"$watched/$name") == "$name" ]] && left=$((left + 1)) || lost=$((lost + 1))
      tname=${target_names[i]}
      [[ -f $target/$tname && $(<"$target/$tname") == "old $name" ]] && kept=$((kept + 1)) || replaced=$((replaced + 1))
    elif [[ -f $target/$name && $(<"$target/$name") == "$name" ]]; then
      moved=$((moved + 1))
    elif [[ -f $watched/$name && $(<"$watched/$name") == "$name" ]]; then
      stuck=$((stuck + 1))
    else
      lost=$((lost + 1))
    fi
  done
  in_target=$(find "$target" -maxdepth 1 -type f | wc -l)
  others=$(find "$watched" -maxdepth 1 -name '*.dat' | wc -l)
  extra=$((in_target - files))
  ((lost + replaced + stuck != 0 || extra != 0 || others != 20 || moved != files - collisions)) && faults=$((faults + 1))
  summary+=("run $run: moved whole $moved/$((files - collisions)), collisions left whole $left/$collisions, target files kept $kept/$collisions, lost $lost, replaced $replaced, not moved $stuck, extra files in the target $extra, unlisted files left $others/20; the drop took $drop ms; drop to first move ${first:-none} ms, to last ${last:-none} ms")
done

varnel_close_and_wait >/dev/null
cp "$STEP_BENCH" "$WINEPREFIX/drive_c/watch_step_bench.exe"
step_report=$VARNEL_SESSION_DIR/watch-step.txt
wine_run 'C:\watch_step_bench.exe' </dev/null >"$step_report" 2>&1 || { echo "watch_step_bench reported a fault" >&2; faults=$((faults + 1)); }
wine_session_stop

echo "Watched folder, move mode, under Wine ($("$VARNEL_WINE64" --version 2>/dev/null)): $files files a drop, $collisions already in the target"
printf '  %s\n' "${summary[@]}"
echo "  drop to the first move seen: median $(printf '%s\n' "${first_ms[@]}" | median) ms, to the last: median $(printf '%s\n' "${last_ms[@]}" | median) ms  (0.1 s polling; the step runs every 5 s)"
echo "  first move to the last (the step's own moves): median $(printf '%s\n' "${span_ms[@]}" | median) ms  (${span_ms[*]:-none})"
sed 's/^/  /' "$step_report"
((faults == 0))
