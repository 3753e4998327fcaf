# Sourced by the Wine scripts: one prefix of the project's own, quiet Wine, a UTF-8 locale (Wine
# converts file names through it), and helpers to start and stop the virtual display.
WINE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$WINE_ROOT/build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
export LC_ALL=C.UTF-8
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
STARTED_XVFB_PID=

# Makes the prefix once; a lock keeps parallel tests from making it twice.
ensure_wine_prefix() {
  mkdir -p "$WINE_ROOT/build"
  (
    flock 9
    [[ -f "$WINEPREFIX/.prepared" ]] && exit 0
    rm -rf "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1
    # Wine draws its own caption when no window manager is asked to; without this every
    # window close stalls for two seconds on a bare display.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.prepared"
  ) 9>"$WINE_ROOT/build/wineprefix.lock"
}

# Wine's own background processes inherit the output of the program that starts them, and a
# ctest run would wait for them; start them first with their output going nowhere.
start_wine_services() {
  wine cmd /c exit 0 </dev/null >/dev/null 2>&1
}

# Starts Xvfb on a free display when there is none.
ensure_display() {
  [[ -n "${DISPLAY:-}" ]] && return 0
  local number
  for number in $(seq 90 140); do
    [[ -e "/tmp/.X11-unix/X$number" || -e "/tmp/.X$number-lock" ]] && continue
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    STARTED_XVFB_PID=$!
    export DISPLAY=":$number"
    local tries
    for tries in $(seq 1 100); do
      [[ -e "/tmp/.X11-unix/X$number" ]] && return 0
      kill -0 "$STARTED_XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
    unset DISPLAY
  done
  echo "wine: could not start Xvfb" >&2
  return 1
}

# Wine stops before the display it draws on, or it leaves processes behind.
stop_started_display() {
  [[ -n "$STARTED_XVFB_PID" ]] || return 0
  "$WINESERVER" -k 2>/dev/null
  "$WINESERVER" -w 2>/dev/null
  kill "$STARTED_XVFB_PID" 2>/dev/null
  wait "$STARTED_XVFB_PID" 2>/dev/null
  STARTED_XVFB_PID=
}

# One session for many Windows programs: a display (started if there is none) and a persistent
# wineserver, both stopped when the calling script exits.
start_wine_session() {
  ensure_display || return 1
  trap stop_wine_session EXIT
  "$WINESERVER" -p
  start_wine_services
}

stop_wine_session() {
  "$WINESERVER" -k 2>/dev/null
  "$WINESERVER" -w 2>/dev/null
  stop_started_display
}
