#!/usr/bin/env bash
# The real Uninstall.exe, end to end, as a person uses it: a product laid out
# by sample-install.exe in the Wine user's C:\Program Files (files listed in
# install.log, the data, help and script folders, real desktop and Start-menu
# shortcuts, the nxedit.exe stand-in), driven with real keyboard and mouse
# input on the virtual display, and checked on screen and on disk.
#
#   tools/wine-gui-run tests/gui/uninstall_e2e_test.sh BUILD_DIR SCENARIO
#
# SCENARIO: confirm, renamed, decline, about, nolog, held, oom, help.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../../tools/gui-kit.sh"

build="$1"
scenario="$2"

product_win='C:\Program Files\Nolvex文本编辑器'
product="$WINEPREFIX/drive_c/Program Files/Nolvex文本编辑器"
title="卸载 Nolvex文本编辑器"
question="你真的要卸载 Nolvex文本编辑器 吗？"
succeeded="卸载成功."
desktop_link="$HOME/Desktop/Nolvex文本编辑器.lnk"
menu="$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/'Start Menu'/Programs | grep -v /Public/ | head -1)/Nolvex文本编辑器"
listed=(nxedit.exe readme.txt nxedit.ini license.txt data/dict.dat data/词库.dat data/default.theme
        help/manual.chm help/index.html script/macros.js script/util.js install.log)

install() {
  "$WINE" "$build/sample-install.exe" "$product_win" "$@" >/dev/null ||
    { gui_check "sample product installed" 0 1; gui_finish; }
}

# How many of the listed files, folders and shortcuts are still there.
remaining() {
  local n=0 f
  for f in "${listed[@]}" data help script; do [ -e "$product/$f" ] && n=$((n + 1)); done
  [ -e "$desktop_link" ] && n=$((n + 1))
  [ -e "$menu" ] && n=$((n + 1))
  echo "$n"
}
everything=$(( ${#listed[@]} + 5 ))

companion_called() { [ -f "$product/nxedit-called.txt" ] && grep -q ' unreg' "$product/nxedit-called.txt" && echo yes || echo no; }

# Whether the dialog is minimised: WS_MINIMIZE in its style.
minimised() {
  local style
  style="$(gui_show "$title" | awk -F'\t' '$1 == "window" { print $6 }')"
  [ -n "$style" ] || { echo "<no window>"; return; }
  (( style & 0x20000000 )) && echo yes || echo no
}

# The centre of a window on the screen, "x y".
centre() {
  gui_show "$1" | awk -F'\t' '$1 == "window" { split($5, r, ","); print int((r[1] + r[3]) / 2), int((r[2] + r[4]) / 2); exit }'
}

# Whether two centres lie within a pixel of each other.
near() {
  local a=($1) b=($2)
  [ ${#a[@]} -eq 2 ] && [ ${#b[@]} -eq 2 ] && (( ${a[0]} - ${b[0]} <= 1 && ${b[0]} - ${a[0]} <= 1 &&
    ${a[1]} - ${b[1]} <= 1 && ${b[1]} - ${a[1]} <= 1 )) && echo yes || echo "no: $1 vs $2"
}

# Starts the installed program and waits for the question.
start() {
  gui_start "$product_win\\${1:-Uninstall.exe}"
  gui_wait_window "$title" 30 >/dev/null || { gui_check "dialog shown" shown "not shown"; gui_finish; }
}

# The message box's text (line breaks shown as " |") once it is up.
message_text() {
  local box="$1"
  gui_wait_window "$box" 30 >/dev/null || { echo "<no message box \"$box\">"; return; }
  gui_show "$box" | awk -F'\t' '$1 == "control" && $4 == "Static" && $8 != "" { print $8 }'
}

# Answers the message box with Enter and waits for the program to end.
dismiss_and_end() {
  gui_key "$1" Return
  gui_wait_exit "$GUI_PID" 20
  gui_check "program ended after the message" 0 "$GUI_EXIT"
  gui_check "no window left" gone "$(gui_wait_gone "$title" 5 && echo gone || echo shown)"
}

case "$scenario" in
  confirm)
    # Enter right away: "是" is the default button and has the focus.
    install
    gui_check "everything installed" "$everything" "$(remaining)"
    start
    gui_screenshot uninstall-dialog
    gui_check "dialog texts" "是|否|$question|请确认:" "$(gui_texts "$title" | paste -sd'|')"
    # Placed at 0,0 in its template: centred on the 1024x768 screen.
    gui_check "dialog centred on the screen" yes "$(near "$(centre "$title")" "512 384")"
    gui_key "$title" Return
    gui_check "message" "$succeeded" "$(message_text Uninstall)"
    gui_screenshot uninstall-succeeded
    dismiss_and_end Uninstall
    gui_check "listed files, folders and shortcuts removed" 0 "$(remaining)"
    gui_check "companion started with unreg" yes "$(companion_called)"
    gui_check "uninstaller itself kept" yes "$([ -f "$product/Uninstall.exe" ] && echo yes || echo no)"
    ;;

  renamed)
    # A copy saved as remove.exe titles its message "remove"; "是" clicked.
    install --uninstaller remove.exe
    start remove.exe
    gui_click_control "$title" "是"
    gui_check "message titled remove" "$succeeded" "$(message_text remove)"
    dismiss_and_end remove
    gui_check "everything removed" 0 "$(remaining)"
    ;;

  decline)
    # "否", Esc, the close box and Alt+F4: nothing deleted, nothing started.
    install
    for how in "click 否" "key Escape" "close" "key alt+F4"; do
      start
      case "$how" in
        key\ *) gui_key "$title" ${how#key } ;;
        click\ *) gui_click_control "$title" "${how#click }" ;;
        close) gui_click_close "$title" ;;
      esac
      gui_wait_exit "$GUI_PID" 15
      gui_check "$how: program ended" 0 "$GUI_EXIT"
      gui_check "$how: dialog gone" gone "$(gui_wait_gone "$title" 5 && echo gone || echo shown)"
      gui_check "$how: nothing removed" "$everything" "$(remaining)"
      gui_check "$how: companion not started" no "$(companion_called)"
    done
    ;;

  about)
    # The system menu's last item, chosen with the keyboard, opens the About
    # box; so do the commands 0x10-0x1F. Enter, Esc, "确定" and the close box
    # each close it and return to the dialog; nothing else happens.
    install
    start
    about="关于 Uninstall"
    # opened by | closed by
    cases=("menu|key Return" "0x10|key Escape" "0x1F|click 确定" "0x15|close")
    for c in "${cases[@]}"; do
      IFS='|' read -r opener closer <<<"$c"
      if [ "$opener" = menu ]; then
        gui_key "$title" alt+space
        sleep 1
        gui_screenshot uninstall-system-menu
        xdotool key Up   # from the first item up to the last: the About entry
        sleep 0.5
        xdotool key Return
      else
        gui_syscommand "$title" "$opener"
      fi
      if ! gui_wait_window "$about" 15 >/dev/null; then
        gui_check "$opener opens About" shown "not shown"
        continue
      fi
      if [ "$opener" = menu ]; then
        gui_screenshot about-box
        # The icon control comes first; its text is the resource ordinal.
        gui_check "About texts" "Uninstall 1.0 版|版权所有 (C) 2026|确定" \
          "$(gui_texts "$about" | tail -n +2 | paste -sd'|')"
        gui_check "About centred over the dialog" yes "$(near "$(centre "$about")" "$(centre "$title")")"
      fi
      case "$closer" in
        key\ *) gui_key "$about" "${closer#key }" ;;
        click\ *) gui_click_control "$about" "${closer#click }" ;;
        close) gui_click_close "$about" ;;
      esac
      gui_check "$opener, $closer: About closed" gone "$(gui_wait_gone "$about" 5 && echo gone || echo shown)"
      gui_check "$opener, $closer: dialog still shown" shown \
        "$(gui_wait_window "$title" 5 >/dev/null && echo shown || echo gone)"
      sleep 0.5
    done
    gui_syscommand "$title" 0x20
    sleep 2
    gui_check "command 0x20 opens nothing" "" "$(gui_list | grep -F "$about")"
    # Other commands keep their standard effect: minimise and restore.
    gui_syscommand "$title" 0xF020
    sleep 1
    gui_check "SC_MINIMIZE minimises" yes "$(minimised)"
    gui_syscommand "$title" 0xF120
    sleep 1
    gui_check "SC_RESTORE restores" no "$(minimised)"
    sleep 0.5
    gui_key "$title" Escape
    gui_wait_exit "$GUI_PID" 15
    gui_check "ended by Esc" 0 "$GUI_EXIT"
    gui_check "nothing removed" "$everything" "$(remaining)"
    gui_check "companion not started" no "$(companion_called)"
    ;;

  nolog)
    # No install.log: still "卸载成功."; the shortcuts go, the listed files stay.
    install --no-log
    start
    gui_key "$title" Return
    gui_check "message" "$succeeded" "$(message_text Uninstall)"
    dismiss_and_end Uninstall
    gui_check "shortcuts removed" no "$([ -e "$desktop_link" ] || [ -e "$menu" ] && echo yes || echo no)"
    gui_check "product files kept" yes "$([ -f "$product/readme.txt" ] && [ -f "$product/data/dict.dat" ] && echo yes || echo no)"
    ;;

  held)
    # A listed file that another process holds open without delete sharing:
    # named as left behind; every other listed file goes.
    install
    "$WINE" "$build/hold-file.exe" "$product_win\\readme.txt" 1 - 60 >"$GUI_RUN_DIR/hold.out" 2>&1 &
    holder=$!
    for _ in $(seq 100); do grep -q held "$GUI_RUN_DIR/hold.out" 2>/dev/null && break; sleep 0.1; done
    gui_check "file held" held "$(cat "$GUI_RUN_DIR/hold.out" | tr -d '\r')"
    start
    gui_key "$title" Return
    gui_check "message names the held file" "卸载完成，但以下项目未能删除，请手动删除： |$product_win\\readme.txt" \
      "$(message_text Uninstall)"
    gui_screenshot uninstall-left-behind
    dismiss_and_end Uninstall
    gui_check "only the held file remains" "readme.txt" \
      "$(cd "$product" && for f in "${listed[@]}"; do [ -e "$f" ] && echo "$f"; done | paste -sd' ')"
    kill "$holder" 2>/dev/null
    ;;

  oom)
    # An allocation failing during the run: "内存不足。", the dialog stays
    # open, and "是" again completes the uninstall.
    install
    cp "$build/Uninstall-faults.exe" "$product/Uninstall.exe"
    export NX_FAIL_RUN_ALLOCATION=4
    start
    gui_key "$title" Return
    gui_check "out-of-memory message" "内存不足。" "$(message_text Uninstall)"
    gui_screenshot uninstall-out-of-memory
    gui_key Uninstall Return
    gui_wait_gone Uninstall 10
    gui_check "dialog still open" shown "$(gui_wait_window "$title" 5 >/dev/null && echo shown || echo gone)"
    sleep 0.5
    gui_key "$title" Return
    gui_check "second run succeeds" "$succeeded" "$(message_text Uninstall)"
    dismiss_and_end Uninstall
    gui_check "everything removed" 0 "$(remaining)"
    ;;

  help)
    # F1 asks Windows Help for the help file named like the program; there is
    # none, and Wine's help viewer says so.
    install
    start
    gui_key "$title" F1
    sleep 3
    gui_check "help asked for Uninstall.HLP" 1 "$(gui_list | grep -c -F "$product_win\\Uninstall.HLP")"
    ;;

  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
gui_finish
