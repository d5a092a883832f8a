#!/usr/bin/env bash
# Builds both builds and runs every test: the README's test command, and what CI runs.
#
#   scripts/test.sh                 every stage, in order
#   scripts/test.sh host e2e        only the named stages (setup always runs)
#
# Stages: host (unit tests on the simulated desktop), host-asan (the same under AddressSanitizer
# and UBSan), fuzz (the INI reader under libFuzzer, FUZZ_SECONDS, default 60), windows (the
# cross-built program's tests under Wine), e2e (the real varnel.exe under Wine on Xvfb).
# Stops at the first failing stage with a non-zero status. Logs go to artifacts/test/.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
jobs=${JOBS:-2}
fuzz_seconds=${FUZZ_SECONDS:-60}
logs=$repo/artifacts/test
mkdir -p "$logs"

all_stages=(host host-asan fuzz windows e2e)
stages=("$@")
((${#stages[@]})) || stages=("${all_stages[@]}")
for stage in "${stages[@]}"; do
  [[ " ${all_stages[*]} " == *" $stage "* ]] || { echo "unknown stage: $stage (known: ${all_stages[*]})" >&2; exit 2; }
done

timings=()
total_started=$SECONDS

print_timings() {
  echo
  echo "stage times:"
  printf '  %s\n' "${timings[@]}"
  echo "  total        $((SECONDS - total_started)) s"
}

# stage NAME FUNCTION: runs the function with its output shown and kept in artifacts/test/NAME.log.
stage() {
  local name=$1 function=$2 started=$SECONDS status
  echo
  echo "==== $name"
  "$function" 2>&1 | tee "$logs/$name.log"
  status=${PIPESTATUS[0]}
  timings+=("$(printf '%-12s %4d s  %s' "$name" $((SECONDS - started)) "$( ((status == 0)) && echo ok || echo FAILED)")")
  if ((status != 0)); then
    echo
    echo "!!!! stage '$name' failed (status $status); its log: artifacts/test/$name.log"
    print_timings
    exit 1
  fi
}

stage_setup() { bash scripts/setup.sh; }

build_and_test() {
  local preset=$1
  cmake --preset "$preset" &&
    cmake --build --preset "$preset" -j "$jobs" &&
    ctest --preset "$preset" -j "$jobs"
}

stage_host() { build_and_test host; }

stage_host_asan() {
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build_and_test host-asan
}

stage_fuzz() {
  cmake --preset fuzz && cmake --build --preset fuzz -j "$jobs" --target ini_fuzz || return 1
  # New inputs land in the first folder, a scratch copy; the seeds in the tree stay as they are.
  local work=$repo/artifacts/fuzz
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/findings"
  build/fuzz/tests/fuzz/ini_fuzz -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/findings/" -print_final_stats=1 \
    "$work/corpus" tests/fuzz/corpus
}

# only_unstarted_failures BUILD_DIR: every failed test of the last CTest run printed nothing.
only_unstarted_failures() {
  local log=$1/Testing/Temporary/LastTest.log failed=$1/Testing/Temporary/LastTestsFailed.log
  [[ -s $failed ]] || return 1
  local name
  while IFS=: read -r _ name; do
    # A test that ran prints at least GoogleTest's banner between Output: and <end of output>.
    awk -v t="\"$name\" start time" '
      index($0, t) { found = 1; next }
      found && /^Output:/ { inside = 1; next }
      inside && /^-+$/ { next }
      inside && /<end of output>/ { exit lines == 0 ? 0 : 1 }
      inside { lines++ }
    ' "$log" || return 1
  done < "$failed"
}

# The zip a user downloads holds exactly the program and its help.
check_package() {
  local zip=build/windows/varnel-$(sed -n 's/^project(Varnel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)-win64.zip
  cpack --preset windows >/dev/null || { echo "cpack failed"; return 1; }
  [[ -f $zip ]] || { echo "no package: $zip"; return 1; }
  # Listed once and searched as text: `grep -q` on the live listing stops reading at the first
  # match, and with pipefail the lister's broken pipe would fail the check by chance.
  local listing unexpected
  listing=$(cmake -E tar tf "$zip") || { echo "cannot list $zip"; return 1; }
  unexpected=$(grep -v -E '^(varnel\.exe|varnel_help/.*)$' <<<"$listing")
  if [[ -n $unexpected ]] || ! grep -qx 'varnel.exe' <<<"$listing" ||
     ! grep -qx 'varnel_help/help.htm' <<<"$listing"; then
    echo "the package holds more or less than varnel.exe and varnel_help/:"
    echo "$listing"
    return 1
  fi
  echo "package ok: $zip ($(wc -l <<<"$listing") entries)"
}

stage_windows() {
  cmake --preset windows && cmake --build --preset windows -j "$jobs" || return 1
  check_package || return 1
  # One Wine session for the whole CTest run: the tests run in its prefix on its display.
  # A subshell keeps the session's environment and trap to this stage.
  (
    source scripts/wine-session.sh
    wine_session_start test-windows "${TEST_DISPLAY:-92}" || exit 1
    # Tests that picture a window save BMPs here (a Linux path is a path on Wine's Z: drive).
    export VARNEL_ARTIFACTS=$repo/artifacts/windows
    rm -rf "$VARNEL_ARTIFACTS"
    LC_ALL=$VARNEL_WINE_LOCALE ctest --preset windows
    status=$?
    if ((status != 0)) && only_unstarted_failures build/windows; then
      # Under load Wine now and then fails to start a process at all: the test printed nothing
      # and never ran. Those, and only those, get one more run.
      echo "Wine did not start some test processes (no output at all); running just those again."
      LC_ALL=$VARNEL_WINE_LOCALE ctest --preset windows --rerun-failed
      status=$?
    fi
    for picture in "$VARNEL_ARTIFACTS"/*.bmp; do
      [[ -e $picture ]] && convert "$picture" "${picture%.bmp}.png" && rm -f "$picture"
    done
    wine_session_stop
    exit "$status"
  )
}

stage_e2e() { bash tests/e2e/run-all.sh; }

stage setup stage_setup
for name in "${stages[@]}"; do
  stage "$name" "stage_${name//-/_}"
done
print_timings
echo
echo "all stages passed: ${stages[*]}"
