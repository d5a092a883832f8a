#!/usr/bin/env bash
# A Wine prefix at another screen scale, for running a test a second time at that DPI.
#
#   dpi_prefix.sh setup WINE64 PREFIX DPI   PREFIX: the running session's prefix ($WINEPREFIX,
#                                          else ~/.wine) with its own registry at DPI, and a
#                                          server of its own started
#   dpi_prefix.sh cleanup WINE64 PREFIX     ends that server and removes PREFIX
#
# Wine takes a program's DPI from the registry when the program starts: HKCU\Control Panel\
# Desktop\LogPixels, else HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\
# Fonts\LogPixels. Setting it in the session's own prefix would change the scale under every
# test that runs at the same time, so the new prefix has a copy of the registry and shares the
# rest (drive C, some 700 MB) through a symbolic link.
set -uo pipefail

action=${1:?setup or cleanup} wine64=${2:?wine64} prefix=${3:?prefix}
wineserver=${VARNEL_WINESERVER:-wineserver}
# As the tests' own emulator line: the first process of a prefix fixes its ANSI code page.
export LC_ALL=${VARNEL_WINE_LOCALE:-ja_JP.UTF-8}

case $action in
  setup)
    dpi=${4:?dpi}
    source=${WINEPREFIX:-$HOME/.wine}
    if [[ ! -f $source/system.reg || ! -d $source/drive_c ]]; then
      echo "no booted Wine prefix at $source to start from" >&2
      exit 1
    fi
    source=$(cd "$source" && pwd)
    WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null
    rm -rf "$prefix"
    mkdir -p "$prefix/dosdevices" || exit 1
    # The timestamp too: without it Wine would update the prefix, writing into the shared C:.
    cp "$source"/*.reg "$source/.update-timestamp" "$prefix/" || exit 1
    ln -s "$source/drive_c" "$prefix/dosdevices/c:"
    ln -s / "$prefix/dosdevices/z:"
    # A resident server, its output away from CTest's pipe (which it would otherwise hold).
    WINEPREFIX=$prefix "$wineserver" -p </dev/null >/dev/null 2>&1
    WINEPREFIX=$prefix "$wine64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
      /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1 || {
      echo "could not set LogPixels in $prefix" >&2
      exit 1
    }
    echo "prefix $prefix at $dpi DPI, sharing drive C with $source"
    ;;
  cleanup)
    if [[ -d $prefix ]]; then
      WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null
      WINEPREFIX=$prefix timeout 20 "$wineserver" -w 2>/dev/null
    fi
    rm -rf "$prefix"
    ;;
  *)
    echo "unknown action: $action" >&2
    exit 2
    ;;
esac
