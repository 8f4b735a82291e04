# Bash functions for GUI tests of Windows programs under Wine: source this in
# a driver script that tools/wine-gui-run runs (it provides DISPLAY, WINE,
# WININFO and the prefix). Windows are found by their exact title with
# tools/wininfo.cpp; input is real X input with xdotool at the screen
# coordinates that wininfo reports (the virtual desktop sits at 0,0). Texts are
# UTF-8. Every wait has a timeout; on timeout the function fails (status 1).
#
#   . tools/gui-kit.sh
#   gui_start prog.exe [ARGS...]          start under Wine in the background; sets GUI_PID
#   gui_wait_window TITLE [SECONDS]       wait until the window is shown (default 15)
#   gui_wait_gone TITLE [SECONDS]         wait until no window has that title
#   gui_show TITLE                        the window's line and its controls' (see wininfo.cpp)
#   gui_list                              every visible top-level window and its controls
#   gui_texts TITLE                       the window's controls' texts, one a line
#   gui_click X Y                         left click at screen X,Y
#   gui_click_control TITLE TEXT          left click the centre of the control with that text
#   gui_click_close TITLE                 left click the window's close box
#   gui_key TITLE KEY...                  bring the window forward, then press xdotool keys
#                                         (Return, Escape, alt+F4, alt+space, Down...)
#   gui_syscommand TITLE ID               post WM_SYSCOMMAND ID (e.g. 0x10) to the window
#                                         (alt+space opens the system menu for real; its
#                                         items cannot be read from another process)
#   gui_screenshot NAME                   whole screen to $GUI_ARTIFACTS/NAME.png
#   gui_wait_exit [PID] [SECONDS]         wait for the program to end and set GUI_EXIT to
#                                         its exit status; after the timeout kill it, set
#                                         GUI_EXIT="still running" and fail
#   gui_check LABEL EXPECTED ACTUAL       compare; on a difference print both, count a failure
#   gui_finish                            exit 0, or 1 if any gui_check failed
#
# GUI_ARTIFACTS defaults to ./artifacts.

GUI_ARTIFACTS="${GUI_ARTIFACTS:-$PWD/artifacts}"
GUI_FAILURES=0
GUI_PID=""

_gui_wininfo() { "$WINE" "$WININFO" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

gui_start() {
  "$WINE" "$@" &
  GUI_PID=$!
}

gui_wait_window() {
  local out
  out="$(_gui_wininfo wait "$1" $(( ${2:-15} * 1000 )))" || { echo "gui: window \"$1\" did not appear" >&2; return 1; }
  printf '%s\n' "$out"
}

gui_wait_gone() { _gui_wininfo gone "$1" $(( ${2:-15} * 1000 )) >/dev/null || { echo "gui: \"$1\" is still shown" >&2; return 1; }; }

gui_show() { _gui_wininfo show "$1"; }
gui_list() { _gui_wininfo list; }
gui_texts() { _gui_wininfo show "$1" | awk -F'\t' '$1 == "control" { print $8 }'; }

gui_click() { xdotool mousemove --sync "$1" "$2" click 1; }

gui_click_control() {
  local xy
  xy="$(_gui_wininfo control "$1" "$2")" || { echo "$xy" >&2; return 1; }
  # shellcheck disable=SC2086
  gui_click $xy
}

gui_click_close() {
  local xy
  xy="$(_gui_wininfo closebox "$1")" || { echo "$xy" >&2; return 1; }
  # shellcheck disable=SC2086
  gui_click $xy
}

gui_key() {
  local title="$1"; shift
  _gui_wininfo focus "$title" >/dev/null || { echo "gui: no window \"$title\" to type into" >&2; return 1; }
  xdotool key --delay 50 "$@"
}

gui_syscommand() { _gui_wininfo syscommand "$1" "$2" >/dev/null; }

gui_screenshot() {
  mkdir -p "$GUI_ARTIFACTS"
  import -window root "$GUI_ARTIFACTS/$1.png" && echo "gui: screenshot $GUI_ARTIFACTS/$1.png" >&2
}

# Sets GUI_EXIT. Call it directly, not in $(...): only the shell that started
# the program can collect its exit status.
gui_wait_exit() {
  local pid="${1:-$GUI_PID}" limit=$(( ${2:-15} * 10 )) i
  GUI_EXIT="still running"
  for (( i = 0; i < limit; i++ )); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "gui: process $pid still running after ${2:-15} s; killing it" >&2
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    return 1
  fi
  wait "$pid"
  GUI_EXIT=$?
}

gui_check() {
  if [ "$2" == "$3" ]; then
    echo "ok   $1"
  else
    echo "FAIL $1: expected [$2], got [$3]"
    GUI_FAILURES=$(( GUI_FAILURES + 1 ))
  fi
}

gui_finish() {
  if [ "$GUI_FAILURES" -eq 0 ]; then echo "all checks passed"; exit 0; fi
  echo "$GUI_FAILURES check(s) failed"; exit 1
}
