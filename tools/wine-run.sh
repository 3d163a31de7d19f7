#!/usr/bin/env bash
# Runs Windows programs of the test build under Wine, in a throwaway prefix kept in the build
# folder, with one Xvfb display for the programs that open windows.
#
#   wine-run.sh --state DIR --setup       new prefix and display (the start of a test run)
#   wine-run.sh --state DIR --teardown    stops the prefix's wineserver and the display
#   wine-run.sh --state DIR [--timeout S] PROGRAM [ARGS...]
#
# A program run without --setup first gets the prefix made on demand, so single tests run too.
set -euo pipefail

[[ ${1-} == --state && -n ${2-} ]] || { echo "usage: $0 --state DIR ..." >&2; exit 2; }
state=$2
shift 2
mkdir -p "$state"
state=$(cd "$state" && pwd)

export WINEPREFIX=$state/prefix
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko install prompts: nothing here needs them. No debugger on a crash: it would
# hold the crashed program until the test's time runs out, where a crash should fail at once.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
unset WINESERVER
# Wine maps Unix file names through the locale's character set: UTF-8 whatever the caller's,
# so that names in any script reach the programs (C.UTF-8 is always installed).
export LC_ALL=C.UTF-8
# Debian's 64-bit loader itself: the `wine` launcher would first ask for the 32-bit one.
wine_cmd=/usr/lib/wine/wine64
[[ -x $wine_cmd ]] || wine_cmd=$(command -v wine64 || command -v wine)
server_cmd=$(command -v wineserver || echo /usr/lib/wine/wineserver)

stop_display() {
  if [[ -f $state/xvfb.pid ]]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid" "$state/display"
  fi
}

start_display() {
  # Xvfb picks a free display itself and writes its number to fd 3.
  rm -f "$state/display"
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 8>&- 9>&- &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do
    [[ -s $state/display ]] && return 0
    sleep 0.1
  done
  echo "wine-run: Xvfb did not start" >&2
  return 1
}

make_prefix() {
  # wineboot ends before the prefix's last registry writes; wineserver -w waits for them.
  # The locks' descriptors stay here: a wineserver holding them would block the next --setup.
  timeout 300 "$wine_cmd" wineboot -i </dev/null >"$state/wineboot.log" 2>&1 8>&- 9>&-
  timeout 120 "$server_cmd" -w 8>&- 9>&-
  touch "$WINEPREFIX/.ready"
}

use_display() {
  if [[ -s $state/display && -f $state/xvfb.pid ]] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
    export DISPLAY=:$(head -n1 "$state/display")
  else
    unset DISPLAY
  fi
}

case ${1-} in
  --setup)
    exec 9>"$state/run.lock"
    timeout 600 flock -x 9
    timeout 60 "$server_cmd" -k 2>/dev/null 9>&- || true
    stop_display
    rm -rf "$WINEPREFIX"
    start_display
    use_display
    make_prefix
    echo "wine-run: prefix ready ($("$wine_cmd" --version)), display $DISPLAY"
    ;;
  --teardown)
    exec 9>"$state/run.lock"
    timeout 600 flock -x 9
    timeout 60 "$server_cmd" -k 2>/dev/null || true
    stop_display
    ;;
  *)
    limit=300
    if [[ ${1-} == --timeout ]]; then
      limit=$2
      shift 2
    fi
    [[ $# -gt 0 ]] || { echo "wine-run: no program given" >&2; exit 2; }
    # Shared: programs run side by side, but never while --setup remakes the prefix.
    exec 9>"$state/run.lock"
    timeout 600 flock -s 9
    (
      exec 8>"$state/prefix.lock"
      timeout 600 flock -x 8
      [[ -f $WINEPREFIX/.ready ]] || make_prefix
    )
    use_display
    # wine passes the program's exit code through.
    timeout -k 10 "$limit" "$wine_cmd" "$@" </dev/null 9>&-
    ;;
esac
