#!/usr/bin/env bash
# Runs a Windows program under Wine, headless, in the build's own prefix.
# The prefix is made once (under a lock, so parallel tests wait for it rather
# than race) with the null graphics driver, which gives real windows, dialogs
# and timers without a display, and without the crash dialog, which would
# hang an invisible test. Wine's own stderr goes to a file: its helper
# processes hold an inherited pipe open for seconds after the program ends.
# The build writes a copy of this script with its own prefix as the default.
#   WINEPREFIX       the prefix (default: the build's wine-prefix)
#   TAPORA_WINE_LOG  where Wine's stderr goes (default: $WINEPREFIX.log)
set -euo pipefail

export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
default_prefix="@TAPORA_WINE_PREFIX@"
[[ $default_prefix == @*@ ]] && default_prefix=$PWD/wine-prefix
export WINEPREFIX=${WINEPREFIX:-$default_prefix}
log=${TAPORA_WINE_LOG:-$WINEPREFIX.log}

make_prefix() {
  wineboot -i
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
  wineserver -w
  # The prefix does not find Wine's own fonts where Debian puts them.
  if [[ -d /usr/share/wine/fonts ]]; then
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  touch "$WINEPREFIX/.tapora-ready"
}

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [[ ! -e $WINEPREFIX/.tapora-ready ]]; then
    rm -rf "$WINEPREFIX"
    make_prefix >>"$log" 2>&1
  fi
) 9>"$WINEPREFIX.lock"

exec wine "$@" 2>>"$log"
