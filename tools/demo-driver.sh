#!/usr/bin/env bash
# The demo, run by tools/wine-gui-run: installs the sample product into the
# fresh Wine prefix, runs Uninstall.exe on it and reports what was removed.
#
#   demo-driver.sh BUILD_DIR interactive|auto
#
# interactive: a person answers the dialog on their display.
# auto: "是" is pressed here on the virtual display, with screenshots.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/gui-kit.sh"
build="$1"
mode="$2"

product_win='C:\Program Files\Nolvex文本编辑器'
product="$WINEPREFIX/drive_c/Program Files/Nolvex文本编辑器"
title="卸载 Nolvex文本编辑器"

echo "== Installing the sample product into $product_win"
made="$("$WINE" "$build/sample-install.exe" "$product_win" | iconv -f GBK -t UTF-8 | tr -d '\r')"
printf '   %s\n' "$made" | sed 's/^   /   + /'
echo
echo "== install.log"
iconv -f GBK -t UTF-8 "$product/install.log" | tr -d '\r' | sed 's/^/   /'
echo

echo "== Running $product_win\\Uninstall.exe"
gui_start "$product_win\\Uninstall.exe"
gui_wait_window "$title" 60 >/dev/null || { echo "the dialog did not appear" >&2; exit 1; }
if [ "$mode" = interactive ]; then
  echo "   The dialog is on your display: answer it (是 uninstalls, 否 leaves everything)."
  gui_wait_exit "$GUI_PID" 900
else
  gui_screenshot 1-confirmation-dialog
  echo "   Pressing Enter: the default button \"是\"."
  gui_key "$title" Return
  gui_wait_window Uninstall 60 >/dev/null
  echo "   Message: $(gui_show Uninstall | awk -F'\t' '$1 == "control" && $4 == "Static" && $8 != "" { print $8 }')"
  gui_screenshot 2-completion-message
  gui_key Uninstall Return
  gui_wait_exit "$GUI_PID" 30
fi
echo

echo "== What the uninstall removed (-) and what remains (=)"
while IFS= read -r path; do
  [ -n "$path" ] || continue
  unix="$(WINEPREFIX="$WINEPREFIX" winepath -u "$path" 2>/dev/null)"
  if [ -e "$unix" ]; then echo "   = $path"; else echo "   - $path"; fi
done <<<"$made"
for folder in data help script; do
  if [ -e "$product/$folder" ]; then echo "   = $product_win\\$folder\\"; else echo "   - $product_win\\$folder\\"; fi
done
menu_link="$(printf '%s\n' "$made" | grep -F '.lnk' | tail -1)"
menu_folder="${menu_link%\\*}"
if [ -e "$(winepath -u "$menu_folder" 2>/dev/null)" ]; then echo "   = $menu_folder\\"; else echo "   - $menu_folder\\"; fi
echo
echo "== Left in the product folder"
(cd "$product" 2>/dev/null && find . -mindepth 1 | sed 's|^\./|   |') || echo "   (the folder is gone)"
if [ -f "$product/nxedit-called.txt" ]; then
  echo
  echo "== The product's own program was asked to unregister:"
  iconv -f GBK -t UTF-8 "$product/nxedit-called.txt" | tr -d '\r' | sed 's/^/   /'
fi
exit 0
