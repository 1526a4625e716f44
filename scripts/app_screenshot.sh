#!/usr/bin/env bash
# Builds the program, runs it under Xvfb and Wine from a fresh folder (no settings file) and
# takes screenshots: the whole window set at start-up, each of the five menus open (with the
# "Подсветка" and "Цветовая гамма" submenus), a toolbar hint, and the window set after the
# "желтая" scheme. Prints the paths of the pictures.
#
#   scripts/app_screenshot.sh [output directory]   (default: $ZAM_BUILD/screenshots)
set -u
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/screenshot_common.sh"

OUT=${1:-$ZAM_BUILD/screenshots}
zam_ensure_packages || exit 1
zam_build_windows >/dev/null || { zam_log "build failed"; exit 1; }
mkdir -p "$OUT" || exit 1
RUN_DIR=$(mktemp -d) || exit 1
cp -r "$ZAM_BUILD/win64/Help" "$RUN_DIR/"
shot_start "$RUN_DIR" zamenor.exe Zamenor || exit 1

shot app_start

open_menu() {  # entry number, picture name
    entry "$1"
    sleep 0.8
    hover_item 1 0 && shot "$2"
}
entry 0
xdotool click 1
open_menu 0 app_menu_file
open_menu 1 app_menu_edit
open_menu 2 app_menu_windows
open_menu 3 app_menu_modes
hover_item 2 0 && shot app_menu_highlight
# "Цветовая гамма" lies below "Подсветка" in the first popup; its second item is "желтая".
hover_item 1 22 && hover_item 2 22 && shot app_menu_schemes
xdotool click 1
sleep 1
shot app_yellow
entry 4
xdotool click 1
open_menu 4 app_menu_help
entry 4
xdotool click 1
sleep 0.5
hint_of 44 && shot app_tooltip
rm -rf "$RUN_DIR"
