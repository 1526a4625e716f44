#!/usr/bin/env bash
# Builds the skin demo, runs it under Xvfb and Wine, drives it with the mouse and takes
# screenshots: at rest, with three menus open (a highlighted item, a submenu with the titled
# separator, a disabled item under the pointer) and with a toolbar hint showing. Prints the
# paths of the pictures.
#
#   scripts/skin_screenshot.sh [output directory]   (default: $ZAM_BUILD/screenshots)
set -u
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/screenshot_common.sh"

OUT=${1:-$ZAM_BUILD/screenshots}
zam_ensure_packages || exit 1
zam_build_windows >/dev/null || { zam_log "build failed"; exit 1; }
mkdir -p "$OUT" || exit 1
shot_start "$ZAM_BUILD/win64" skin_demo.exe 'Zamenor — скин' --quit 90000 || exit 1

shot skin_rest

# "Файл": the open tab, and "Открыть..." highlighted with its raised bitmap.
entry 0
xdotool click 1
sleep 0.8
hover_item 1 0 && shot skin_menu_file

# "Режимы" (the pointer moves across the bar) and its "Подсветка" submenu: checked bitmaps and
# the separator titled "биграммы".
entry 3
sleep 0.8
hover_item 1 0 && sleep 0.8 && hover_item 2 0 && shot skin_menu_modes

# "Правка" with the disabled "Отменить" under the pointer: no gradient, orange text.
entry 1
sleep 0.8
hover_item 1 $((22 + 8)) && shot skin_menu_disabled

# A click on the open entry closes the menu; then the hint of "Сохранить".
entry 1
xdotool click 1
sleep 0.5
hint_of 44 && shot skin_tooltip
