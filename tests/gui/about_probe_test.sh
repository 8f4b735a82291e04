#!/usr/bin/env bash
# The GUI kit on the About box template, shown by gui-probe.exe with a plain
# dialog procedure: the box appears with its texts, and Enter, the "确定"
# button, Esc and the close box each close it (exit status: IDOK 1,
# IDCANCEL 2). Run through tools/wine-gui-run:
#   tools/wine-gui-run tests/gui/about_probe_test.sh build/win64/gui-probe.exe
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../../tools/gui-kit.sh"

probe="$1"
title="关于 Uninstall"

# label | how to close | expected exit status
cases=(
  "enter|key Return|1"
  "ok-button|click 确定|1"
  "escape|key Escape|2"
  "close-box|close|2"
)

first=1
for c in "${cases[@]}"; do
  IFS='|' read -r label how want <<<"$c"
  echo "--- $label"
  gui_start "$probe"
  if ! window="$(gui_wait_window "$title" 20)"; then
    gui_check "$label: box shown" "shown" "not shown"
    gui_wait_exit "$GUI_PID" 1
    continue
  fi
  if [ $first -eq 1 ]; then
    first=0
    gui_screenshot about-probe
    # What the dialog manager made of the template: the controls' texts in
    # order, the icon as its resource ordinal.
    gui_check "$label: control texts" "#128|Uninstall 1.0 版|版权所有 (C) 2026|确定" \
      "$(gui_texts "$title" | paste -sd'|')"
    gui_check "$label: one window with that title" 1 "$(printf '%s\n' "$window" | grep -c '^window')"
  fi
  case "$how" in
    key\ *) gui_key "$title" "${how#key }" ;;
    click\ *) gui_click_control "$title" "${how#click }" ;;
    close) gui_click_close "$title" ;;
  esac
  gui_wait_exit "$GUI_PID" 15
  gui_check "$label: exit status" "$want" "$GUI_EXIT"
  gui_check "$label: box gone" "gone" "$(gui_wait_gone "$title" 5 && echo gone || echo shown)"
done
gui_finish
