# shellcheck shell=bash
# A Wine session of our own: a private 64-bit prefix in the Japanese locale and a private Xvfb.
#
#   source scripts/wine-session.sh
#   wine_session_start NAME DISPLAYNUM [WxH]   # /tmp/varnel-NAME/prefix on :DISPLAYNUM (or the next free one)
#   VARNEL_VIRTUAL_DESKTOP=1 wine_session_start ...   # every program inside one Wine virtual desktop
#   wine_run 'C:\some.exe' ...                # wine64 in the session (WINEPREFIX, DISPLAY... exported)
#   wine_session_stop                          # ends exactly what the start began
#
# The start installs a trap, so an interrupted script still ends its wineserver and Xvfb.
# A booted prefix is kept as a template in $VARNEL_PREFIX_TEMPLATE: a session copies it
# (a second or two) instead of booting a new prefix (ten seconds or more).
#
# Exported after the start: WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES DISPLAY,
# VARNEL_SESSION_DIR (logs and scratch files), VARNEL_SCREEN_W, VARNEL_SCREEN_H.
#
# Why a virtual desktop: on a bare Xvfb (no window manager) Wine never activates a window and
# sees held buttons only over its own windows. In a virtual desktop of the screen's size, placed
# at the X screen's origin, windows are activated, buttons and keys are seen everywhere, and X
# and Windows coordinates stay the same. The desktop is the prefix's default one, so every
# program started in the session (wine64 x.exe, ShellExecute'd children) lands in it.
#
# LC_ALL=ja_JP.UTF-8 must reach every wine process, the first one of the prefix above all (it
# fixes the ANSI code page, 932). Wine needs no generated locale for it, but bash warns at every
# turn when LC_ALL names a locale the system lacks, so it is not exported here: wine_run passes
# it to each wine process, and a program that runs wine itself gets it the same way, e.g.
# `LC_ALL=$VARNEL_WINE_LOCALE ctest ...`.

VARNEL_WINE64=${VARNEL_WINE64:-/usr/lib/wine/wine64}
VARNEL_WINESERVER=${VARNEL_WINESERVER:-wineserver}
VARNEL_SESSION_ROOT=${VARNEL_SESSION_ROOT:-/tmp/varnel-}
VARNEL_PREFIX_TEMPLATE=${VARNEL_PREFIX_TEMPLATE:-/tmp/varnel-prefix-template}
VARNEL_WINE_LOCALE=${VARNEL_WINE_LOCALE:-ja_JP.UTF-8}
# Bump when the template recipe below changes, so old templates are rebuilt.
_VARNEL_TEMPLATE_RECIPE=2

# Wine's own code page comes from LC_ALL, but the file names it hands to Linux are converted
# with the C library's locale: without a generated ja_JP.UTF-8 every non-ASCII file name fails
# with "file not found". The locale is generated once into a private folder.
VARNEL_LOCPATH=${VARNEL_LOCPATH:-/tmp/varnel-locale}
if [[ ! -d $VARNEL_LOCPATH/$VARNEL_WINE_LOCALE ]]; then
  mkdir -p "$VARNEL_LOCPATH"
  localedef -i "${VARNEL_WINE_LOCALE%%.*}" -f UTF-8 "$VARNEL_LOCPATH/$VARNEL_WINE_LOCALE" 2>/dev/null ||
    printf '[wine-session] could not generate the %s locale\n' "$VARNEL_WINE_LOCALE" >&2
fi
export LOCPATH=$VARNEL_LOCPATH

# wine_run ARGS...: wine64 with the session's locale.
wine_run() { LC_ALL=$VARNEL_WINE_LOCALE "$VARNEL_WINE64" "$@"; }

_wine_session_log() { printf '[wine-session] %s\n' "$*" >&2; }

# wine_session_wait_until SECONDS COMMAND...: polls COMMAND every 0.1 s.
_wine_session_wait_until() {
  local limit=$1; shift
  local deadline=$((SECONDS + limit))
  until "$@"; do
    ((SECONDS >= deadline)) && return 1
    sleep 0.1
  done
}

_wine_session_display_ready() {
  [[ -S /tmp/.X11-unix/X$1 ]] && DISPLAY=:$1 xdotool getdisplaygeometry >/dev/null 2>&1
}

_wine_session_display_taken() {
  [[ -e /tmp/.X$1-lock || -e /tmp/.X11-unix/X$1 ]]
}

# Starts Xvfb on DISPLAYNUM or the next free number; sets _VARNEL_XVFB_PID and DISPLAY.
_wine_session_start_xvfb() {
  local first=$1 size=$2 n
  for ((n = first; n < first + 40; n++)); do
    _wine_session_display_taken "$n" && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -br -noreset \
      </dev/null >"$VARNEL_SESSION_DIR/xvfb.log" 2>&1 &
    _VARNEL_XVFB_PID=$!
    echo "$_VARNEL_XVFB_PID" >"$VARNEL_SESSION_DIR/xvfb.pid"
    local deadline=$((SECONDS + 15))
    while ((SECONDS < deadline)); do
      if _wine_session_display_ready "$n"; then
        export DISPLAY=:$n
        return 0
      fi
      kill -0 "$_VARNEL_XVFB_PID" 2>/dev/null || break   # lost a race for this number
      sleep 0.1
    done
    kill "$_VARNEL_XVFB_PID" 2>/dev/null
    wait "$_VARNEL_XVFB_PID" 2>/dev/null
    _VARNEL_XVFB_PID=
  done
  _wine_session_log "no free X display from :$first on"
  return 1
}

# The registry value of a LOGFONTW (92 bytes) as a .reg hex list: height -12, normal weight,
# SHIFTJIS_CHARSET, face NAME.
_wine_session_logfont_hex() {
  local face=$1 bytes=() i code
  # lfHeight -12, lfWidth, lfEscapement, lfOrientation 0, lfWeight 400.
  bytes+=(f4 ff ff ff 00 00 00 00 00 00 00 00 00 00 00 00 90 01 00 00)
  # italic, underline, strike-out, charset 128, out precision, clip precision, quality, pitch.
  bytes+=(00 00 00 80 00 00 00 00)
  for ((i = 0; i < 32; i++)); do
    if ((i < ${#face})); then
      printf -v code '%02x' "'${face:i:1}"
      bytes+=("$code" 00)
    else
      bytes+=(00 00)
    fi
  done
  local IFS=,
  echo "${bytes[*]}"
}

# Boots a prefix at PATH in the current environment (WINEARCH, DISPLAY... already exported).
_wine_session_boot_prefix() {
  local prefix=$1
  WINEPREFIX=$prefix wine_run wineboot -i </dev/null >"$VARNEL_SESSION_DIR/wineboot.log" 2>&1
  WINEPREFIX=$prefix "$VARNEL_WINESERVER" -w
  # Debian leaves Wine's own fonts out of the prefix; Tahoma and friends come from here.
  mkdir -p "$prefix/drive_c/windows/Fonts"
  ln -sf /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"
  # Japanese-capable title bars, menus and message boxes (Wine's default, Tahoma, has no kana).
  local font reg=$VARNEL_SESSION_DIR/ncfont.reg
  font=$(_wine_session_logfont_hex IPAGothic)
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]\r\n'
    local key
    for key in CaptionFont SmCaptionFont MenuFont StatusFont MessageFont IconFont; do
      printf '"%s"=hex:%s\r\n' "$key" "$font"
    done
  } >"$reg"
  WINEPREFIX=$prefix wine_run regedit /S "$(WINEPREFIX=$prefix wine_run winepath -w "$reg" 2>/dev/null)" \
    </dev/null >>"$VARNEL_SESSION_DIR/wineboot.log" 2>&1 ||
    _wine_session_log "could not set the Japanese non-client font (continuing)"
  WINEPREFIX=$prefix "$VARNEL_WINESERVER" -w
  [[ -f $prefix/system.reg ]]
}

# Copies the cached booted prefix to PATH, building the cache first when missing or stale.
_wine_session_prefix_from_template() {
  local prefix=$1 template=$VARNEL_PREFIX_TEMPLATE stamp lock ok=0
  stamp="recipe=$_VARNEL_TEMPLATE_RECIPE $("$VARNEL_WINE64" --version 2>/dev/null) locale=$VARNEL_WINE_LOCALE"
  exec {lock}>"$template.lock"
  if ! flock -w 600 "$lock"; then
    exec {lock}>&-
    return 1
  fi
  if [[ ! -f $template/.varnel-template || $(<"$template/.varnel-template") != "$stamp" ]]; then
    _wine_session_log "booting a new prefix template in $template (once, about 10-20 s)"
    rm -rf "$template" "$template.tmp"
    if _wine_session_boot_prefix "$template.tmp"; then
      echo "$stamp" >"$template.tmp/.varnel-template"
      mv "$template.tmp" "$template"
    else
      rm -rf "$template.tmp"
    fi
  fi
  if [[ -f $template/.varnel-template ]] && cp -a "$template" "$prefix"; then
    rm -f "$prefix/.varnel-template"
    ok=1
  fi
  flock -u "$lock"
  exec {lock}>&-
  ((ok))
}

# Makes the prefix's default desktop a virtual desktop of SIZE. Written into user.reg while no
# server of the prefix runs (the server owns the registry once it is up, and the desktop
# process reads the setting at its start).
_wine_session_virtual_desktop() {
  local prefix=$1 size=$2 now
  now=$(date +%s)
  printf '\n[Software\\\\Wine\\\\Explorer] %s\n"Desktop"="Default"\n' "$now" >>"$prefix/user.reg"
  printf '\n[Software\\\\Wine\\\\Explorer\\\\Desktops] %s\n"Default"="%s"\n' "$now" "$size" >>"$prefix/user.reg"
  export VARNEL_SESSION_VIRTUAL_DESKTOP=1
}

wine_session_start() {
  local name=${1:?wine_session_start NAME DISPLAYNUM [WxH]} display=${2:?display number} size=${3:-1280x800}
  if [[ -n ${_VARNEL_SESSION_ACTIVE:-} ]]; then
    _wine_session_log "a session is already running in this shell ($VARNEL_SESSION_DIR)"
    return 1
  fi
  local started=$SECONDS
  export VARNEL_SESSION_DIR=${VARNEL_SESSION_ROOT}${name}
  # A session of the same name that is still running (another test run at the same time) is
  # left alone: this one takes a name of its own instead of ending that one's server and Xvfb.
  local owner
  owner=$(cat "$VARNEL_SESSION_DIR/owner.pid" 2>/dev/null)
  if [[ $owner =~ ^[0-9]+$ ]] && ((owner != BASHPID)) && kill -0 "$owner" 2>/dev/null; then
    _wine_session_log "session $name is in use by process $owner; using $name-$BASHPID"
    VARNEL_SESSION_DIR=${VARNEL_SESSION_ROOT}${name}-$BASHPID
  fi
  local prefix=$VARNEL_SESSION_DIR/prefix

  # Leftovers of an earlier run of this session that was killed: its server and its Xvfb.
  if [[ -d $prefix ]]; then
    WINEPREFIX=$prefix "$VARNEL_WINESERVER" -k 2>/dev/null
  fi
  if [[ -f $VARNEL_SESSION_DIR/xvfb.pid ]]; then
    local old
    old=$(<"$VARNEL_SESSION_DIR/xvfb.pid")
    if [[ $old =~ ^[0-9]+$ ]] && [[ $(cat "/proc/$old/comm" 2>/dev/null) == Xvfb ]]; then
      kill "$old" 2>/dev/null
    fi
  fi
  rm -rf "$VARNEL_SESSION_DIR"
  mkdir -p "$VARNEL_SESSION_DIR"
  echo "$BASHPID" >"$VARNEL_SESSION_DIR/owner.pid"

  _VARNEL_SESSION_ACTIVE=1
  trap 'wine_session_stop' EXIT
  trap 'wine_session_stop; exit 130' INT
  trap 'wine_session_stop; exit 143' TERM HUP

  export VARNEL_SCREEN_W=${size%x*} VARNEL_SCREEN_H=${size#*x}
  _wine_session_start_xvfb "$display" "$size" || { wine_session_stop; return 1; }

  export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

  if ! _wine_session_prefix_from_template "$prefix"; then
    _wine_session_log "no template; booting $prefix directly"
    _wine_session_boot_prefix "$prefix" || { wine_session_stop; return 1; }
  fi
  export WINEPREFIX=$prefix
  if [[ -n ${VARNEL_VIRTUAL_DESKTOP:-} ]]; then
    _wine_session_virtual_desktop "$prefix" "$size"
  fi

  # A resident server: without it every program start pays the server's start-up, and a
  # program's output pipe stays open until the server exits.
  LC_ALL=$VARNEL_WINE_LOCALE "$VARNEL_WINESERVER" -p </dev/null >/dev/null 2>&1
  # Returns once the prefix's services run.
  wine_run wineboot </dev/null >>"$VARNEL_SESSION_DIR/wineboot.log" 2>&1
  _wine_session_log "session $name ready on $DISPLAY (${size}) in $((SECONDS - started)) s, prefix $WINEPREFIX"
}

wine_session_stop() {
  [[ -n ${_VARNEL_SESSION_ACTIVE:-} ]] || return 0
  _VARNEL_SESSION_ACTIVE=
  trap - EXIT INT TERM HUP
  local prefix=${VARNEL_SESSION_DIR:-}/prefix
  if [[ -d $prefix ]]; then
    WINEPREFIX=$prefix "$VARNEL_WINESERVER" -k 2>/dev/null
    WINEPREFIX=$prefix timeout 20 "$VARNEL_WINESERVER" -w 2>/dev/null
  fi
  if [[ -n ${_VARNEL_XVFB_PID:-} ]]; then
    kill "$_VARNEL_XVFB_PID" 2>/dev/null
    wait "$_VARNEL_XVFB_PID" 2>/dev/null
    _VARNEL_XVFB_PID=
  fi
  rm -f "${VARNEL_SESSION_DIR:-/nonexistent}/xvfb.pid" "${VARNEL_SESSION_DIR:-/nonexistent}/owner.pid"
  return 0
}
