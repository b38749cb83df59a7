# shellcheck shell=bash
# A private Wine prefix for the Windows tests and, when a test needs one, a
# virtual display. Sourced by scripts/test.

# start_wine PREFIX: creates the prefix once and keeps one wineserver alive
# for the whole run, so each test binary does not pay Wine's start-up.
start_wine() {
  export WINEPREFIX=$1
  export WINEDEBUG=-all
  # No Mono or Gecko installer prompts: the tests need neither.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "wine: creating the prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX" || return 1
    wineboot -i >"$WINEPREFIX.init.log" 2>&1 || return 1
    wineserver -w || return 1
  fi
  wineserver -p || return 1
  wine_started=1
}

stop_wine() {
  if [[ ${wine_started:-0} -eq 1 ]]; then
    wineserver -k || true
    wine_started=0
  fi
}

# start_display: an Xvfb display for tests that open windows, unless one is
# already set.
start_display() {
  if [[ -n ${DISPLAY:-} || -n ${xvfb_pid:-} ]]; then
    return 0
  fi
  local number=90
  while [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]]; do
    number=$((number + 1))
  done
  Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$number"
  local waited=0
  while [[ ! -e /tmp/.X11-unix/X$number && $waited -lt 50 ]]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  echo "display: Xvfb on $DISPLAY"
}

stop_display() {
  if [[ -n ${xvfb_pid:-} ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  fi
}
