# Shared by the scripts that run Wine: the cached template prefix and an Xvfb display.
# shellcheck shell=bash

export WINEDEBUG=${WINEDEBUG:--all}
# Which build Wine runs: TELVOR_WINE_BITS=32 the shipped i686 build, with Wine's 32-bit loader
# in a 32-bit prefix (only where the kernel runs 32-bit code, see docs/platform.md); 64 (the
# default) the x86_64 build of the same sources with the 64-bit loader.
TELVOR_WINE_BITS=${TELVOR_WINE_BITS:-64}
if [ "$TELVOR_WINE_BITS" = 32 ]; then
  export WINELOADER=/usr/lib/wine/wine WINEARCH=win32
else
  export WINELOADER=/usr/lib/wine/wine64
fi
telvor_wine() { "$WINELOADER" "$@"; }
# Our simulator (or no library at all) instead of Wine's own capi2032; no Mono/Gecko prompts.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"capi2032=n;mscoree,mshtml="}
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
TELVOR_CACHE=${TELVOR_CACHE:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/telvor}
TELVOR_TEMPLATE_PREFIX="$TELVOR_CACHE/wineprefix-template"
[ "$TELVOR_WINE_BITS" = 32 ] && TELVOR_TEMPLATE_PREFIX="$TELVOR_CACHE/wineprefix-template-win32"

# Builds the template prefix once (under a lock, so parallel cases wait for one build). The
# marker carries the template's layout version: a template of an older layout is built anew.
TELVOR_TEMPLATE_READY=".telvor-ready-2"
telvor_ensure_template() {
  [ -f "$TELVOR_TEMPLATE_PREFIX/$TELVOR_TEMPLATE_READY" ] && return 0
  mkdir -p "$TELVOR_CACHE"
  (
    flock -w 600 9 || exit 1
    [ -f "$TELVOR_TEMPLATE_PREFIX/$TELVOR_TEMPLATE_READY" ] && exit 0
    rm -rf "$TELVOR_TEMPLATE_PREFIX"
    export WINEPREFIX="$TELVOR_TEMPLATE_PREFIX"
    DISPLAY= timeout 600 "$WINELOADER" wineboot -i >"$TELVOR_CACHE/wineboot.log" 2>&1
    # No crash dialog: a crashing program must end the case, not wait for a click.
    telvor_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$TELVOR_CACHE/wineboot.log" 2>&1
    telvor_wine reg add 'HKCU\Software\Wine\DllOverrides' /v capi2032 /d native /f >>"$TELVOR_CACHE/wineboot.log" 2>&1
    wineserver -w
    # Debian's Wine does not look into its own font folder (fonts-wine), so dialogs would fall
    # back to another face and caption buttons draw Marlett's letters: give the prefix the
    # fonts a Windows has in its font folder.
    if [ -d /usr/share/wine/fonts ]; then
      cp /usr/share/wine/fonts/* "$TELVOR_TEMPLATE_PREFIX/drive_c/windows/Fonts/"
    fi
    touch "$TELVOR_TEMPLATE_PREFIX/$TELVOR_TEMPLATE_READY"
  ) 9>"$TELVOR_CACHE/template.lock"
}

# Starts Xvfb on a free display; sets DISPLAY and TELVOR_XVFB_PID.
telvor_start_xvfb() {
  local dir=$1 fifo="$1/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp 9>"$fifo" >/dev/null 2>&1 &
  TELVOR_XVFB_PID=$!
  local num=""
  read -r -t 20 num <"$fifo"
  rm -f "$fifo"
  [ -n "$num" ] || return 1
  export DISPLAY=":$num"
}

# A case's prefix: the system files hard-linked from the template (Wine only reads them),
# the registry and the user folders copied, since those are what a case changes.
telvor_copy_prefix() {
  local from=$1 to=$2
  cp -al "$from" "$to"
  rm -rf "$to"/*.reg "$to/drive_c/users"
  cp -a "$from"/*.reg "$to"/
  cp -a "$from/drive_c/users" "$to/drive_c/users"
}
