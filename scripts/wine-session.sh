#!/usr/bin/env bash
# The Wine session of one build tree: an Xvfb display, the tree's own 64-bit prefix and a
# persistent wineserver, with the registry settings the windows need.
#
#   scripts/wine-session.sh start BUILD_DIR   before ctest
#   scripts/wine-session.sh stop BUILD_DIR    after ctest
#
# With HKM_WINE_DISPLAY set (such as :0), the session uses that X display instead of starting an
# Xvfb one, so that a person can use the windows; stop then leaves that display alone.
#
# Everything is started here, never from inside a test: Wine's background processes (server,
# services, desktop) inherit the standard handles of the process that starts them, and CTest
# waits for every holder of a test's output pipe. scripts/wine-run.sh, the build tree's
# emulator, reads the session from BUILD_DIR/wine/session.env.
set -euo pipefail

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

usage() {
  echo "usage: $0 start|stop BUILD_DIR" >&2
  exit 2
}
[ $# -eq 2 ] || usage
action=$1
mkdir -p "$2"
tree=$(cd "$2" && pwd)
state=$tree/wine
envfile=$state/session.env
pidfile=$state/xvfb.pid

log() { echo "wine-session: $*" >&2; }

load_env() {
  set -a
  # shellcheck disable=SC1090
  . "$envfile"
  set +a
}

xvfb_alive() {
  [ -f "$pidfile" ] || return 1
  local pid
  pid=$(cat "$pidfile")
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && grep -q Xvfb "/proc/$pid/cmdline" 2>/dev/null
}

# A process of this prefix runs whose command line matches the pattern (pgrep -f).
prefix_process_alive() {
  local pid
  for pid in $(pgrep -f "$1" 2>/dev/null); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      return 0
    fi
  done
  return 1
}

stop_session() {
  if [ -f "$envfile" ]; then
    load_env
    "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
  fi
  if xvfb_alive; then
    local pid
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
  fi
  rm -f "$envfile" "$pidfile" "$state/display"
}

# The session's display is up: the Xvfb server it started, or the display it was asked to use.
session_display_alive() {
  if [ -n "${HKM_WINE_DISPLAY:-}" ]; then
    [ "$DISPLAY" = "$HKM_WINE_DISPLAY" ]
  else
    xvfb_alive
  fi
}

start_xvfb() {
  rm -f "$state/display"
  # -displayfd picks a free display and writes its number once the server accepts clients.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" \
    </dev/null >"$state/xvfb.log" 2>&1 &
  local pid=$!
  echo "$pid" >"$pidfile"
  for _ in $(seq 200); do
    [ -s "$state/display" ] && break
    # Right after the fork the child may not have become Xvfb yet: only its exit is a failure.
    if ! kill -0 "$pid" 2>/dev/null; then
      log "Xvfb failed to start:"
      cat "$state/xvfb.log" >&2
      return 1
    fi
    sleep 0.05
  done
  [ -s "$state/display" ] || {
    log "Xvfb did not report a display"
    return 1
  }
  echo ":$(tr -d '[:space:]' <"$state/display")"
}

# Registry settings: unmanaged top-level windows (no window manager runs, and managed ones make
# DestroyWindow wait for it), and a font with Chinese glyphs behind the dialog and skin fonts.
write_registry_file() {
  local reg=$1
  {
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS Shell Dlg"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
EOF
  } >"$reg"
}

# A hidden window held for the whole session. Wine closes its desktop process about a second
# after the last process on the desktop ends; a window test would then start a new one, which
# inherits that test's output pipe and makes CTest wait for it. The keeper, started here with
# its output on /dev/null, keeps the desktop process alive. It creates the ready file named by
# its command line once its window exists.
build_keeper() {
  local exe=$1
  [ "$exe" -nt "${BASH_SOURCE[0]}" ] && return 0
  x86_64-w64-mingw32-gcc -O2 -municode -mwindows -x c -o "$exe" - <<'KEEPER'
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
  (void)previous;
  (void)show;
  if (!CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL, instance, NULL))
    return 1;
  WCHAR path[MAX_PATH];
  lstrcpynW(path, commandLine[0] == L'"' ? commandLine + 1 : commandLine, MAX_PATH);
  int length = lstrlenW(path);
  if (length > 0 && path[length - 1] == L'"') path[length - 1] = 0;
  CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
  MSG message;
  while (GetMessageW(&message, NULL, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
KEEPER
}

start_keeper() {
  local exe=$state/keeper.exe ready=$state/keeper.ready
  build_keeper "$exe"
  rm -f "$ready"
  "$WINE" "$exe" "Z:${ready//\//\\}" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 400); do
    [ -f "$ready" ] && return 0
    sleep 0.05
  done
  log "the desktop keeper did not start"
  return 1
}

install_marlett() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts font
  for font in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
    [ -f "$font" ] || continue
    mkdir -p "$fonts"
    cmp -s "$font" "$fonts/marlett.ttf" || cp "$font" "$fonts/marlett.ttf"
    return 0
  done
  log "no marlett.ttf: title-bar buttons will show letters"
}

start_session() {
  mkdir -p "$state/prefix"
  if [ -f "$envfile" ]; then
    load_env
    if session_display_alive && prefix_process_alive '^/usr/lib/wine/wineserver64' &&
      prefix_process_alive 'keeper\.exe'; then
      log "already running on $DISPLAY for $tree"
      return 0
    fi
    stop_session
  fi

  local started display
  started=$(date +%s)
  if [ -n "${HKM_WINE_DISPLAY:-}" ]; then
    display=$HKM_WINE_DISPLAY
  else
    display=$(start_xvfb)
  fi
  {
    printf 'DISPLAY=%q\n' "$display"
    printf 'WINEPREFIX=%q\n' "$state/prefix"
    printf 'WINEARCH=win64\n'
    printf 'WINEDEBUG=-all\n'
    # No Mono or Gecko installers, and no menu entries written into the user's home.
    printf 'WINEDLLOVERRIDES=%q\n' 'mscoree,mshtml=;winemenubuilder.exe=d'
    printf 'WINESERVER=%q\n' "$WINESERVER"
  } >"$envfile"
  load_env

  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  # Creates or updates the prefix; its helper processes stay with the persistent server.
  "$WINE" wineboot -u </dev/null >/dev/null 2>&1
  # The title bars' minimise, maximise and close glyphs come from Marlett, which Debian's Wine
  # ships but does not put where the prefix's processes look for fonts.
  install_marlett

  local reg=$state/settings.reg
  write_registry_file "$reg"
  "$WINE" regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
  if ! "$WINE" reg query 'HKCU\Software\Wine\X11 Driver' /v Managed </dev/null 2>/dev/null |
    tr -d '\r' | grep -q 'REG_SZ *N$'; then
    log "registry settings were not imported"
    return 1
  fi
  start_keeper
  log "running on $DISPLAY for $tree ($(($(date +%s) - started)) s)"
}

case $action in
  start) start_session ;;
  stop) stop_session ;;
  *) usage ;;
esac
