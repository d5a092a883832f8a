# shellcheck shell=bash
# Helpers of the end-to-end scenarios: the real varnel.exe under Wine on a private Xvfb.
#
# run-all.sh starts one session (e2e_session_start) and runs each scenario file in a subshell
# with these functions at hand. A scenario installs a fresh copy of Varnel (varnel_install),
# starts it (varnel_start), waits for what it expects (wait_for, never a fixed sleep), reads
# the desktop through the probe (probe_list, window_find), and asserts (check, check_eq).
# Results go to one file, so a scenario that aborts still counts what it checked.

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_REPO=$(cd "$E2E_DIR/../.." && pwd)
# shellcheck source=../../scripts/wine-session.sh
source "$E2E_REPO/scripts/wine-session.sh"

VARNEL_EXE=${VARNEL_EXE:-$E2E_REPO/build/windows/varnel.exe}
VARNEL_PROBE=${VARNEL_PROBE:-$E2E_REPO/build/windows/tests/e2e/probe/probe.exe}
VARNEL_RECORDER=${VARNEL_RECORDER:-$E2E_REPO/build/windows/tests/e2e/probe/recorder.exe}
E2E_ARTIFACTS=${E2E_ARTIFACTS:-$E2E_REPO/artifacts/e2e}
E2E_TIMEOUT=${E2E_TIMEOUT:-30}

# Windows-side places inside the prefix.
VARNEL_WIN_DIR='C:\varnel'
E2E_WIN_DIR='C:\e2e'

e2e_note() { printf '    %s\n' "$*"; }

# ---- session ---------------------------------------------------------------------------------

# e2e_session_start NAME DISPLAYNUM: the session plus the probe inside it and a results file.
e2e_session_start() {
  local name=$1 display=$2
  [[ -f $VARNEL_EXE ]] || { echo "missing $VARNEL_EXE (build the windows preset first)" >&2; return 1; }
  [[ -f $VARNEL_PROBE ]] || { echo "missing $VARNEL_PROBE (build the windows preset first)" >&2; return 1; }
  [[ -f $VARNEL_RECORDER ]] || { echo "missing $VARNEL_RECORDER (build the windows preset first)" >&2; return 1; }
  wine_session_start "$name" "$display" || return 1
  E2E_HOST_DIR=$WINEPREFIX/drive_c/e2e
  VARNEL_HOST_DIR=$WINEPREFIX/drive_c/varnel
  mkdir -p "$E2E_HOST_DIR" "$E2E_ARTIFACTS"
  cp "$VARNEL_PROBE" "$E2E_HOST_DIR/probe.exe"
  E2E_RESULTS=$VARNEL_SESSION_DIR/results.txt
  : >"$E2E_RESULTS"
  export E2E_HOST_DIR VARNEL_HOST_DIR E2E_RESULTS
  # The empty desktop's colour: black on a bare Xvfb, Wine's desktop colour in a virtual desktop.
  E2E_DESKTOP_COLOR=black
  if [[ -n ${VARNEL_SESSION_VIRTUAL_DESKTOP:-} ]]; then
    local shot=$VARNEL_SESSION_DIR/empty-desktop.png
    import -display "$DISPLAY" -window root "$shot" 2>/dev/null &&
      E2E_DESKTOP_COLOR=$(convert "$shot" -format "%[pixel:p{$((VARNEL_SCREEN_W - 1)),$((VARNEL_SCREEN_H - 1))}]" info: 2>/dev/null) ||
      E2E_DESKTOP_COLOR=black
  fi
  # The work area as Windows reports it (under Wine: the whole screen, there is no taskbar).
  E2E_WORK_LEFT=0 E2E_WORK_TOP=0 E2E_WORK_RIGHT=$VARNEL_SCREEN_W E2E_WORK_BOTTOM=$VARNEL_SCREEN_H
  if probe metrics; then
    read -r E2E_WORK_LEFT E2E_WORK_TOP E2E_WORK_RIGHT E2E_WORK_BOTTOM < <(sed -n 's/^work=//p' "$E2E_PROBE_OUT")
  fi
  export E2E_DESKTOP_COLOR E2E_WORK_LEFT E2E_WORK_TOP E2E_WORK_RIGHT E2E_WORK_BOTTOM
}

# ---- results ---------------------------------------------------------------------------------

E2E_SCENARIO=${E2E_SCENARIO:-}

pass() {
  echo "PASS	$E2E_SCENARIO	$*" >>"$E2E_RESULTS"
  printf '  ok    %s\n' "$*"
}

fail() {
  echo "FAIL	$E2E_SCENARIO	$*" >>"$E2E_RESULTS"
  printf '  FAIL  %s\n' "$*"
}

# check DESCRIPTION COMMAND...: passes when the command succeeds.
check() {
  local description=$1; shift
  if "$@"; then pass "$description"; else fail "$description"; return 1; fi
}

# check_eq DESCRIPTION EXPECTED ACTUAL
check_eq() {
  if [[ $2 == "$3" ]]; then
    pass "$1"
  else
    fail "$1: expected '$2', got '$3'"
    return 1
  fi
}

# on_exit COMMAND: run when the scenario ends, however it ends (keys it holds down, registry
# values it changed); run-all.sh runs these first, then stops what Varnel left.
E2E_ON_EXIT=()
on_exit() { E2E_ON_EXIT+=("$1"); }
run_on_exit() {
  local command
  for command in "${E2E_ON_EXIT[@]}"; do eval "$command"; done
  E2E_ON_EXIT=()
}

# abort DESCRIPTION: a failed precondition; the rest of the scenario cannot run.
abort() {
  fail "$*"
  exit 1
}

# e2e_summary: the final line; fails when any check failed or none ran.
e2e_summary() {
  local passed failed
  passed=$(grep -c '^PASS' "$E2E_RESULTS")
  failed=$(grep -c '^FAIL' "$E2E_RESULTS")
  if ((failed > 0)); then
    echo "failed checks:"
    grep '^FAIL' "$E2E_RESULTS" | cut -f2- | sed 's/^/  /'
  fi
  echo "$passed passed, $failed failed"
  ((failed == 0 && passed > 0))
}

# ---- waiting ---------------------------------------------------------------------------------

# wait_for CONDITION [TIMEOUT]: evaluates CONDITION (a command line) every 0.2 s until it holds.
wait_for() {
  local condition=$1 limit=${2:-$E2E_TIMEOUT}
  local deadline=$((SECONDS + limit))
  while ! eval "$condition"; do
    if ((SECONDS >= deadline)); then
      e2e_note "timed out after ${limit} s waiting for: $condition"
      return 1
    fi
    sleep 0.2
  done
}

# ---- the probe ---------------------------------------------------------------------------------

# probe ARGS...: runs the probe with its report in E2E_PROBE_OUT (a host path); returns its status.
probe() {
  local command=$1; shift
  E2E_PROBE_OUT=$E2E_HOST_DIR/$command.out
  rm -f "$E2E_PROBE_OUT"
  LC_ALL=$VARNEL_WINE_LOCALE timeout 60 "$VARNEL_WINE64" "$E2E_WIN_DIR\\probe.exe" "$command" --out "$E2E_WIN_DIR\\$command.out" "$@" \
    </dev/null >/dev/null 2>&1
}

# host_path WIN_PATH: where a C:\... path of the prefix lies on this side.
host_path() {
  echo "$WINEPREFIX/drive_c/$(sed 's/^[Cc]:\\//; s/\\/\//g' <<<"$1")"
}

# recorder_install WIN_EXE: a copy of the recorder at that place (its folder is made); prints
# the host path of its log, one line a start: working folder, then each argument, tab-separated.
recorder_install() {
  local exe
  exe=$(host_path "$1")
  mkdir -p "$(dirname "$exe")"
  cp "$VARNEL_RECORDER" "$exe"
  rm -f "${exe%.*}.log"
  echo "${exe%.*}.log"
}

# reg_keep KEY: the registry key comes back as it is now when the scenario ends (and goes again
# if it was not there), whatever the scenario writes into it meanwhile.
reg_keep() {
  local saved
  saved="$E2E_WIN_DIR\\kept-$(tr -c 'A-Za-z0-9' _ <<<"$1").reg"
  if wine_run reg export "$1" "$saved" /y </dev/null >/dev/null 2>&1; then
    on_exit "wine_run reg delete '$1' /f </dev/null >/dev/null 2>&1; wine_run reg import '$saved' </dev/null >/dev/null 2>&1"
  else
    on_exit "wine_run reg delete '$1' /f </dev/null >/dev/null 2>&1"
  fi
}

# recorder_for_type EXT FILETYPE WIN_EXE: the recorder, installed at WIN_EXE, opens files of
# type .EXT (registered as FILETYPE) until the scenario ends, when the prefix's own handler
# comes back; E2E_RECORDER_LOG is the host path of its log. Not in a command substitution: the
# registry's restoration is registered with on_exit.
recorder_for_type() {
  local ext=$1 type=$2 exe=$3
  E2E_RECORDER_LOG=$(recorder_install "$exe")
  reg_keep "HKCR\\.$ext"
  reg_keep "HKCR\\$type\\shell\\open\\command"
  { wine_run reg add "HKCR\\.$ext" /ve /d "$type" /f &&
      wine_run reg add "HKCR\\$type\\shell\\open\\command" /ve /d "\"$exe\" \"%1\"" /f; } </dev/null >/dev/null 2>&1
}

# recorded_lines LOG: how many starts the recorder has logged.
recorded_lines() {
  if [[ -f $1 ]]; then wc -l <"$1"; else echo 0; fi
}

# probe_list: refreshes E2E_WINDOWS, the TSV of every top-level window (header line first):
# hwnd class caption owner pid exe left top right bottom style exstyle visible
probe_list() {
  probe list || return 1
  E2E_WINDOWS=$E2E_HOST_DIR/windows.tsv
  cp "$E2E_PROBE_OUT" "$E2E_WINDOWS"
}

# window_find CLASS [EXE]: prints the records of the last list with that class (and process
# executable), case-insensitively; fails when there is none.
window_find() {
  awk -F'\t' -v cls="$1" -v exe="${2:-}" '
    NR > 1 && tolower($2) == tolower(cls) && (exe == "" || tolower($6) == tolower(exe)) { print; found = 1 }
    END { exit !found }' "$E2E_WINDOWS"
}

# window_field RECORD NAME: one field of a record by its header name.
window_field() {
  local record=$1 name=$2 i
  local -a names=(hwnd class caption owner pid exe left top right bottom style exstyle visible)
  for i in "${!names[@]}"; do
    if [[ ${names[$i]} == "$name" ]]; then
      # awk, not read: a tab is whitespace to read, which would merge an empty caption away.
      awk -F'\t' -v n=$((i + 1)) '{ print $n; exit }' <<<"$record"
      return 0
    fi
  done
  return 1
}

# window_appears CLASS [EXE]: one fresh listing, then window_find.
window_appears() {
  probe_list && window_find "$@" >/dev/null
}

# ---- Varnel ---------------------------------------------------------------------------------

# varnel_install [SETTINGS_FILE]: a fresh C:\varnel\ with varnel.exe and, if given, varnel.ini.
varnel_install() {
  rm -rf "$VARNEL_HOST_DIR"
  mkdir -p "$VARNEL_HOST_DIR"
  cp "$VARNEL_EXE" "$VARNEL_HOST_DIR/varnel.exe"
  if [[ -n ${1:-} ]]; then cp "$1" "$VARNEL_HOST_DIR/varnel.ini"; fi
  VARNEL_INI=$VARNEL_HOST_DIR/varnel.ini
}

# varnel_start: starts C:\varnel\varnel.exe in the background; VARNEL_PID is the process (the
# wine loader becomes the Windows process, so the Linux PID lives exactly as long as it).
varnel_start() {
  LC_ALL=$VARNEL_WINE_LOCALE "$VARNEL_WINE64" "$VARNEL_WIN_DIR\\varnel.exe" </dev/null >"$VARNEL_SESSION_DIR/varnel-$E2E_SCENARIO.log" 2>&1 &
  VARNEL_PID=$!
  VARNEL_EXIT_CODE=
}

process_running() {
  local state
  state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 1
  [[ -n $state && $state != Z ]]
}

# varnel_wait_exit [TIMEOUT]: waits until the process ends; VARNEL_EXIT_CODE is its status.
varnel_wait_exit() {
  wait_for "! process_running $VARNEL_PID" "${1:-$E2E_TIMEOUT}" || return 1
  wait "$VARNEL_PID" 2>/dev/null
  VARNEL_EXIT_CODE=$?
}

# varnel_wait_form: waits for the main form of varnel.exe; VARNEL_FORM holds its record.
varnel_wait_form() {
  wait_for "window_appears TForm1 varnel.exe" "${1:-$E2E_TIMEOUT}" || return 1
  VARNEL_FORM=$(window_find TForm1 varnel.exe | head -n 1)
}

# varnel_close: WM_CLOSE to the main form, as Windows and other programs send it.
varnel_close() {
  probe close --class TForm1 --exe varnel.exe --timeout 20000
}

# varnel_stop_leftover: ends a Varnel that a failed scenario left running (by its PID).
varnel_stop_leftover() {
  [[ -n ${VARNEL_PID:-} ]] || return 0
  if process_running "$VARNEL_PID"; then
    varnel_close
    wait_for "! process_running $VARNEL_PID" 10 || kill -KILL "$VARNEL_PID" 2>/dev/null
  fi
  wait "$VARNEL_PID" 2>/dev/null
  VARNEL_PID=
}

# ---- screen ---------------------------------------------------------------------------------

# screenshot NAME: the whole X screen into $E2E_ARTIFACTS/NAME.png; prints the path.
screenshot() {
  local file=$E2E_ARTIFACTS/$1.png
  mkdir -p "$E2E_ARTIFACTS"
  import -display "$DISPLAY" -window root "$file" 2>/dev/null && echo "$file"
}

# screen_blank_except_others SHOT: nothing but the empty desktop (black, or the virtual
# desktop's colour) outside the visible windows of processes other than varnel.exe (Wine's own
# tray window, an Explorer window, for instance).
screen_blank_except_others() {
  local shot=$1 masked=${1%.png}-masked.png
  local -a draws=()
  local l t r b
  while IFS=$'\t' read -r l t r b; do
    draws+=(-draw "rectangle $l,$t,$((r - 1)),$((b - 1))")
  done < <(awk -F'\t' 'NR > 1 && $13 == 1 && tolower($6) != "varnel.exe" && $9 > $7 && $10 > $8 {
                         print $7 "\t" $8 "\t" $9 "\t" $10 }' "$E2E_WINDOWS")
  convert "$shot" -fill black -opaque "${E2E_DESKTOP_COLOR:-black}" "${draws[@]}" "$masked" || return 1
  local lit
  lit=$(convert "$masked" -colorspace gray -threshold 0 -format '%[fx:mean*w*h]' info:) || return 1
  if [[ $lit != 0 ]]; then
    e2e_note "$lit lit pixels in $masked"
    return 1
  fi
}

# ---- the settings file -------------------------------------------------------------------------

# ini_text FILE: the file as UTF-8 text without carriage returns. A file that starts with a
# UTF-8 byte-order mark is UTF-8, one that starts with the UTF-16 little-endian mark is UTF-16
# LE; any other file is in the ANSI code page, 932. Bytes that do not convert (a damaged file)
# pass through unchanged.
ini_text() {
  local file=$1
  if [[ $(head -c 3 "$file" | od -An -tx1 | tr -d ' \n') == efbbbf ]]; then
    tail -c +4 "$file"
  elif [[ $(head -c 2 "$file" | od -An -tx1 | tr -d ' \n') == fffe ]]; then
    tail -c +3 "$file" | iconv -f UTF-16LE -t UTF-8
  elif ! iconv -f CP932 -t UTF-8 "$file" 2>/dev/null; then
    cat "$file"
  fi | LC_ALL=C tr -d '\r'
}

ini_encoding() {
  if [[ $(head -c 3 "$1" | od -An -tx1 | tr -d ' \n') == efbbbf ]]; then
    echo utf-8-bom
  elif [[ $(head -c 2 "$1" | od -An -tx1 | tr -d ' \n') == fffe ]]; then
    echo utf-16le-bom
  else
    echo ansi
  fi
}

# ini_sections FILE: section names in file order, one a line.
ini_sections() {
  ini_text "$1" | LC_ALL=C awk '/^[ \t]*\[/ { s = $0; sub(/^[ \t]*\[/, "", s); sub(/\].*$/, "", s); print s }'
}

# ini_entries FILE: "Section.Key=value" for every entry in file order.
ini_entries() {
  ini_text "$1" | LC_ALL=C awk '
    /^[ \t]*\[/ { s = $0; sub(/^[ \t]*\[/, "", s); sub(/\].*$/, "", s); next }
    /^[ \t]*;/ { next }
    index($0, "=") > 0 {
      k = substr($0, 1, index($0, "=") - 1); v = substr($0, index($0, "=") + 1)
      gsub(/^[ \t]+|[ \t]+$/, "", k)
      print s "." k "=" v
    }'
}

# ini_get FILE SECTION KEY: the first value of the key (names compared without case);
# fails when the key is absent.
ini_get() {
  ini_entries "$1" | LC_ALL=C awk -v want="$2.$3" '
    { eq = index($0, "="); if (tolower(substr($0, 1, eq - 1)) == tolower(want)) { print substr($0, eq + 1); found = 1; exit } }
    END { exit !found }'
}

# ini_system_get SECTION KEY: the key of C:\varnel\varnel.ini as the system's own
# GetPrivateProfileString reads it (through the probe); fails when the key is absent.
ini_system_get() {
  probe profile --file "$VARNEL_WIN_DIR\\varnel.ini" --section "$1" --key "$2" || return 1
  sed -n 's/^value=//p' "$E2E_PROBE_OUT"
}

is_int_between() {  # VALUE LOW HIGH, exclusive
  [[ $1 =~ ^-?[0-9]+$ ]] && (($1 > $2 && $1 < $3))
}

# ---- the Explorer and the pointer ---------------------------------------------------------------

# needs_virtual_desktop: ends the scenario (skipped, nothing counted) outside a virtual desktop.
# The Explorer scenarios are written for it: held buttons are seen everywhere there, and the
# first activation that starts the Explorer is certain only there.
needs_virtual_desktop() {
  [[ -n ${VARNEL_SESSION_VIRTUAL_DESKTOP:-} ]] && return 0
  e2e_note "skipped: needs a Wine virtual desktop (VARNEL_VIRTUAL_DESKTOP=1)"
  exit 0
}

# window_by_handle HWND: the record of that window in the last list; fails when it is not there.
window_by_handle() {
  awk -F'\t' -v h="$1" 'NR > 1 && $1 == h { print; found = 1; exit } END { exit !found }' "$E2E_WINDOWS"
}

# window_geometry HWND: "left top right bottom exstyle visible" of the window in the last list.
window_geometry() {
  local record
  record=$(window_by_handle "$1") || return 1
  echo "$(window_field "$record" left) $(window_field "$record" top) $(window_field "$record" right)" \
    "$(window_field "$record" bottom) $(window_field "$record" exstyle) $(window_field "$record" visible)"
}

# explorer_handles: the Explorer folder windows of the last list (Wine's explorer.exe draws
# them with the class ExplorerWClass; its desktop process owns no window of that class).
explorer_handles() {
  awk -F'\t' 'NR > 1 && tolower($2) == "explorerwclass" && tolower($6) == "explorer.exe" { print $1 }' "$E2E_WINDOWS"
}

# explorer_new_appears KNOWN...: one fresh listing shows an Explorer window whose handle is not
# among KNOWN; E2E_NEW_EXPLORER is its handle.
explorer_new_appears() {
  probe_list || return 1
  local h
  for h in $(explorer_handles); do
    [[ " $* " == *" $h "* ]] && continue
    E2E_NEW_EXPLORER=$h
    return 0
  done
  return 1
}

# explorer_open FOLDER: an Explorer of our own (not Varnel's), as a user would start it.
explorer_open() {
  LC_ALL=$VARNEL_WINE_LOCALE "$VARNEL_WINE64" explorer.exe "/n,/e,\"$1\"" </dev/null >/dev/null 2>&1 &
}

# explorer_close_all: WM_CLOSE to every Explorer folder window (Varnel leaves its managed one
# parked off screen when it exits), so that the next scenario starts without them.
explorer_close_all() {
  probe close --class ExplorerWClass --exe explorer.exe --timeout 5000 || true
  wait_for '! window_appears ExplorerWClass explorer.exe' 10 >/dev/null || true
}

# window_is_parked HWND: fresh listing; the window is visible at (-screen width, -screen
# height), entirely off screen, with the tool-window style. The park itself takes a moment,
# so callers wait for this rather than test it once.
window_is_parked() {
  probe_list || return 1
  local g
  g=$(window_geometry "$1") || return 1
  read -r E2E_L E2E_T E2E_R E2E_B E2E_EX E2E_VIS <<<"$g"
  ((E2E_L == -VARNEL_SCREEN_W && E2E_T == -VARNEL_SCREEN_H && E2E_R <= 0 && E2E_B <= 0 &&
    (E2E_EX & 0x80) != 0 && E2E_VIS == 1))
}

# window_is_off_screen HWND: fresh listing; the window lies at the parking place, whatever its
# style at this instant.
window_is_off_screen() {
  probe_list || return 1
  local g
  g=$(window_geometry "$1") || return 1
  read -r E2E_L E2E_T E2E_R E2E_B E2E_EX E2E_VIS <<<"$g"
  ((E2E_L == -VARNEL_SCREEN_W && E2E_T == -VARNEL_SCREEN_H && E2E_R <= 0 && E2E_B <= 0))
}

# window_is_at HWND LEFT TOP RIGHT BOTTOM: fresh listing; the window has exactly that rectangle
# and is visible.
window_is_at() {
  probe_list || return 1
  local g
  g=$(window_geometry "$1") || return 1
  read -r E2E_L E2E_T E2E_R E2E_B E2E_EX E2E_VIS <<<"$g"
  [[ "$E2E_L $E2E_T $E2E_R $E2E_B $E2E_VIS" == "$2 $3 $4 $5 1" ]]
}

# window_gone HWND: fresh listing without that handle.
window_gone() {
  probe_list || return 1
  ! window_by_handle "$1" >/dev/null
}

# The resting places of a window out at each edge, on the work area (no insets): prints
# "left top right bottom" for EDGE (left right top bottom), SIZE the width or height.
out_rect() {
  local edge=$1 size=$2
  local l=$E2E_WORK_LEFT t=$E2E_WORK_TOP r=$E2E_WORK_RIGHT b=$E2E_WORK_BOTTOM
  case $edge in
    left) echo "$l $((t + 1)) $((l + size)) $((b - 1))" ;;
    right) echo "$((r - size)) $((t + 1)) $r $((b - 1))" ;;
    top) echo "$((l + 1)) $t $((r - 1)) $((t + size))" ;;
    bottom) echo "$((l + 1)) $((b - size)) $((r - 1)) $b" ;;
  esac
}

# pointer_to X Y: the real pointer, through X (as a user's mouse).
pointer_to() { xdotool mousemove "$1" "$2"; }

# last_rect: the rectangle read by the last window_is_* call, for messages.
last_rect() { echo "($E2E_L,$E2E_T)-($E2E_R,$E2E_B) exstyle $E2E_EX visible $E2E_VIS"; }

# varnel_start_with_explorer [KNOWN...]: varnel_start, then waits for the Explorer window it
# starts (one not among KNOWN) and for it to be parked; E2E_MANAGED is its handle.
varnel_start_with_explorer() {
  varnel_start
  wait_for "explorer_new_appears $*" "${E2E_LAUNCH_TIMEOUT:-60}" || return 1
  E2E_MANAGED=$E2E_NEW_EXPLORER
  wait_for "window_is_parked $E2E_MANAGED" 20
}

# varnel_close_and_wait: WM_CLOSE, then the process's end.
varnel_close_and_wait() {
  varnel_close
  varnel_wait_exit
}

# ---- menus and the tray -----------------------------------------------------------------------

# menu_appears [TIMEOUT_S]: a visible popup menu window (class #32768) of varnel.exe shows
# within the time (the probe polls every millisecond); E2E_MENU_L T R B are its rectangle.
menu_appears() {
  local limit=$((${1:-10} * 1000))
  probe watch-class --class '#32768' --exe varnel.exe --timeout "$limit" || return 1
  read -r E2E_MENU_L E2E_MENU_T E2E_MENU_R E2E_MENU_B <<<"$(sed -n 's/^rect=//p' "$E2E_PROBE_OUT")"
  E2E_MENU_SHOWN_UNIX=$(sed -n 's/^found_unix=//p' "$E2E_PROBE_OUT")
  [[ -n $E2E_MENU_B ]]
}

# menu_gone [TIMEOUT_S]: no visible menu window of varnel.exe is left within the time;
# E2E_MENU_GONE_UNIX is when the probe saw it go.
menu_gone() {
  local limit=$((${1:-10} * 1000))
  probe watch-class --class '#32768' --exe varnel.exe --gone --timeout "$limit" || return 1
  E2E_MENU_GONE_UNIX=$(sed -n 's/^found_unix=//p' "$E2E_PROBE_OUT")
}

# Wine 8 draws a popup menu with a 3-pixel frame; an item with an icon is 18 pixels high (the
# 16-pixel picture and a pixel above and below), an item of text alone 17 (the menu font,
# IPAGothic at 12 pixels), a separator 9 (half of SM_CYMENUSIZE). A layout names the rows of a
# menu, one letter a row: i an item with an icon, t an item of text alone, s a separator.
E2E_MENU_FRAME=${E2E_MENU_FRAME:-3}
E2E_MENU_ICON_ROW=${E2E_MENU_ICON_ROW:-18}
E2E_MENU_TEXT_ROW=${E2E_MENU_TEXT_ROW:-17}
E2E_MENU_SEPARATOR=${E2E_MENU_SEPARATOR:-9}

_menu_row_size() {
  case $1 in
    i) echo "$E2E_MENU_ICON_ROW" ;;
    t) echo "$E2E_MENU_TEXT_ROW" ;;
    s) echo "$E2E_MENU_SEPARATOR" ;;
  esac
}

# menu_layout_height LAYOUT: the height of a menu window with those rows.
menu_layout_height() {
  local layout=$1 i height=$((2 * E2E_MENU_FRAME))
  for ((i = 0; i < ${#layout}; i++)); do height=$((height + $(_menu_row_size "${layout:i:1}"))); done
  echo "$height"
}

# menu_has_rows LAYOUT: the shown menu (E2E_MENU_T/B) has the height of those rows: it holds
# them and nothing else.
menu_has_rows() {
  local expected
  expected=$(menu_layout_height "$1")
  ((E2E_MENU_B - E2E_MENU_T == expected)) && return 0
  e2e_note "menu $((E2E_MENU_B - E2E_MENU_T)) pixels high; rows $1 make $expected"
  return 1
}

# menu_row_y LAYOUT INDEX: the screen y of the middle of row INDEX (from 0) of the shown menu.
menu_row_y() {
  local layout=$1 index=$2 i y=$((E2E_MENU_T + E2E_MENU_FRAME))
  for ((i = 0; i < index; i++)); do y=$((y + $(_menu_row_size "${layout:i:1}"))); done
  echo $((y + $(_menu_row_size "${layout:index:1}") / 2))
}

# menu_click LAYOUT INDEX: the user points at row INDEX of the shown menu and clicks it: the
# pointer moves onto the row in two steps, as a real mouse reports motion on the way.
menu_click() {
  local y x=$(((E2E_MENU_L + E2E_MENU_R) / 2))
  y=$(menu_row_y "$1" "$2") || return 1
  xdotool mousemove $((x - 4)) "$y"
  xdotool mousemove "$x" "$y"
  xdotool click 1
}

# menu_choose LAYOUT INDEX CONDITION: menu_click, then waits for CONDITION (what the item does);
# when the menu is still open without a sign of the choice, the user clicks again, at most
# three times. Under Wine a menu now and then sees no pointer input at all for a while (no
# highlight, no click); E2E_MENU_CLICKS says how many clicks it took.
menu_choose() {
  local layout=$1 index=$2 condition=$3
  for E2E_MENU_CLICKS in 1 2 3; do
    menu_click "$layout" "$index" || return 1
    wait_for "$condition" 5 >/dev/null && return 0
    # Chosen but slow: the menu has gone, only the outcome is late.
    if menu_gone 0; then
      wait_for "$condition" 25
      return
    fi
    e2e_note "the menu is still open after click $E2E_MENU_CLICKS"
  done
  return 1
}

# region_lit SHOT L T R B: how many pixels of the rectangle differ from the empty desktop.
region_lit() {
  convert "$1" -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage -fill black -opaque "${E2E_DESKTOP_COLOR:-black}" \
    -colorspace gray -threshold 0 -format '%[fx:mean*w*h]' info: | awk '{ printf "%d\n", $1 + 0.5 }'
}

# region_dark SHOT L T R B: how many pixels of the rectangle are neither white nor light grey
# (text and pictures on a menu).
region_dark() {
  convert "$1" -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage -colorspace gray -threshold 60% \
    -negate -format '%[fx:mean*w*h]' info: | awk '{ printf "%d\n", $1 + 0.5 }'
}

# work_area_now: E2E_WORK_LEFT TOP RIGHT BOTTOM as Windows reports them at this moment. In a
# Wine virtual desktop the taskbar comes and goes (with the tray icon and the windows it lists),
# and the work area with it.
work_area_now() {
  probe metrics || return 1
  read -r E2E_WORK_LEFT E2E_WORK_TOP E2E_WORK_RIGHT E2E_WORK_BOTTOM < <(sed -n 's/^work=//p' "$E2E_PROBE_OUT")
}

# tray_icon_point: "X Y" of the first notification icon. In a Wine virtual desktop the icons
# sit at the right end of its taskbar (Shell_TrayWnd, at the bottom); on a bare X display in
# the "Wine System Tray" window, the first at about (12, 32) from its corner.
tray_icon_point() {
  probe_list || return 1
  # awk, not window_field: the taskbar's caption is empty, and read merges empty tab fields.
  awk -F'\t' '
    NR > 1 && $2 == "Shell_TrayWnd" && $13 == 1 && $10 > $8 { print $9 - 10, int(($8 + $10) / 2); found = 1; exit }
    NR > 1 && $3 == "Wine System Tray" && $13 == 1 && !tray { tray = $7 + 12 " " $8 + 32 }
    END { if (!found && tray != "") { print tray; found = 1 } exit !found }' "$E2E_WINDOWS"
}

# tray_click BUTTON: the user clicks the tray icon with button 1 (left) or 3 (right).
tray_click() {
  local x y
  read -r x y <<<"$(tray_icon_point)" || return 1
  [[ -n $y ]] || return 1
  xdotool mousemove "$x" "$y"
  xdotool click "$1"
}

# launch_folder_make WIN_FOLDER: a Launch folder (C:\... without the final backslash) of real
# shortcuts made by the shell: Notepad and Winver, and a subfolder Tools with Regedit. The menu
# lists them as: Tools (submenu), Notepad, Winver.
launch_folder_make() {
  local win=$1 host
  host=$(host_path "$win")
  rm -rf "$host"
  mkdir -p "$host/Tools"
  probe mklink --target 'C:\windows\notepad.exe' --out "$win\\Notepad.lnk" &&
    probe mklink --target 'C:\windows\system32\winver.exe' --out "$win\\Winver.lnk" &&
    probe mklink --target 'C:\windows\regedit.exe' --out "$win\\Tools\\Regedit.lnk" &&
    [[ -f $host/Notepad.lnk && -f $host/Winver.lnk && -f $host/Tools/Regedit.lnk ]]
}

# explorer_open_new FOLDER: a new Explorer window each time, as a user opens many: the full
# path with /n,/e, is not handed to a running instance the way Wine's bare `explorer` is.
explorer_open_new() {
  LC_ALL=$VARNEL_WINE_LOCALE "$VARNEL_WINE64" 'C:\windows\explorer.exe' "/n,/e,$1" </dev/null >/dev/null 2>&1 &
}

# explorer_count_is N: a fresh listing shows exactly N Explorer folder windows;
# E2E_EXPLORER_COUNT is the number it shows.
explorer_count_is() {
  probe_list || return 1
  E2E_EXPLORER_COUNT=$(explorer_handles | wc -l)
  ((E2E_EXPLORER_COUNT == $1))
}

# holds_for SECONDS CONDITION: CONDITION holds at every look (every 0.2 s) for that long (a
# decimal is fine), for what must not happen or must go on (a window that must stay); fails at
# the first look where it does not hold.
holds_for() {
  local condition=$2 deadline
  deadline=$(($(date +%s%3N) + $(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }')))
  while eval "$condition"; do
    (($(date +%s%3N) >= deadline)) && return 0
    sleep 0.2
  done
  return 1
}

# window_steady HWND: a fresh listing shows the window where the last call saw it; with
# wait_for, until it has stopped moving (a window settling after it opens).
window_steady() {
  probe_list || return 1
  local g
  g=$(window_geometry "$1") || return 1
  [[ $g == "${E2E_LAST_GEOMETRY:-}" ]] && return 0
  E2E_LAST_GEOMETRY=$g
  return 1
}

# ---- the tray menu and the controls of a window ----------------------------------------------

# The tray menu's rows: 補完Exp, separator, Launch読込, 設定, 監視の記録, 一時停止, separator, 終了 (no icons).
E2E_TRAY_LAYOUT=tsttttst

# tray_choose INDEX CONDITION: the user pops the tray menu and chooses row INDEX until CONDITION
# holds: the row is clicked again while the menu stays open, and the menu popped again when a
# lost click has closed it, three rounds at most.
tray_choose() {
  local index=$1 condition=$2 round
  for round in 1 2 3; do
    menu_gone 0 && { wait_for 'tray_click 1 && menu_appears 3' 20 || return 1; }
    menu_choose "$E2E_TRAY_LAYOUT" "$index" "$condition" && return 0
    e2e_note "round $round: no effect from row $index of the tray menu"
    eval "$condition" && return 0
  done
  return 1
}

# controls_read HWND: refreshes E2E_CONTROLS, the TSV of every control inside the window
# (header line first): hwnd class text left top right bottom visible extra.
controls_read() {
  probe controls --hwnd "$1" || return 1
  E2E_CONTROLS=$E2E_HOST_DIR/controls.tsv
  cp "$E2E_PROBE_OUT" "$E2E_CONTROLS"
}

# control_find CLASS [TEXT]: the visible controls of the last reading with that class (and
# text), top to bottom, one record a line; fails when there is none.
control_find() {
  local found
  found=$(awk -F'\t' -v cls="$1" -v text="${2-}" -v any=$(($# < 2)) '
    NR > 1 && $8 == 1 && tolower($2) == tolower(cls) && (any || $3 == text)' "$E2E_CONTROLS" |
    sort -t$'\t' -k5,5n -k4,4n)
  [[ -n $found ]] && echo "$found"
}

# control_text RECORD: the text of a control record (a list box's items joined by "|").
control_text() { awk -F'\t' '{ print $3; exit }' <<<"$1"; }

# control_click RECORD: the user clicks the middle of the control.
control_click() {
  local l t r b
  read -r l t r b < <(awk -F'\t' '{ print $4, $5, $6, $7; exit }' <<<"$1")
  [[ -n $b ]] || return 1
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
}
