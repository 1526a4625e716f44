#!/usr/bin/env bash
# Builds the skin demo, runs it under Xvfb and Wine, drives it with the mouse and takes
# screenshots: at rest, with three menus open (a highlighted item, a submenu with the titled
# separator, a disabled item under the pointer) and with a toolbar hint showing. Prints the
# paths of the pictures.
#
#   scripts/skin_screenshot.sh [output directory]   (default: $ZAM_BUILD/screenshots)
# LC_ALL picks the Wine code page the demo runs under (C.UTF-8 unless set).
set -u
. "$(dirname "$0")/common.sh"

OUT=${1:-$ZAM_BUILD/screenshots}
zam_ensure_packages || exit 1
zam_build_windows >/dev/null || { zam_log "build failed"; exit 1; }
mkdir -p "$OUT" || exit 1

DEMO_PID=
finish() {
    [ -n "$DEMO_PID" ] && kill "$DEMO_PID" 2>/dev/null
    zam_stop_wine
    zam_stop_xvfb
}
trap finish EXIT
zam_start_xvfb || exit 1
zam_start_wine

(cd "$ZAM_BUILD/win64" && LC_ALL=${LC_ALL:-C.UTF-8} exec "$ZAM_WINE" ./skin_demo.exe --quit 90000) \
    >/dev/null 2>&1 &
DEMO_PID=$!

strip=
for _ in $(seq 300); do
    strip=$(xdotool search --onlyvisible --name '^frmMenu$' 2>/dev/null | head -1)
    [ -n "$strip" ] && break
    sleep 0.2
done
[ -n "$strip" ] || { zam_log "the demo window did not appear"; exit 1; }
sleep 1  # the first paint
eval "$(xdotool getwindowgeometry --shell "$strip")"
BAR_X=$X
BAR_Y=$Y
main=$(xdotool search --onlyvisible --name '^Zamenor — скин$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$main")"
MAIN_X=$X
MAIN_Y=$Y

shot() {
    import -window root "$OUT/$1.png" && echo "$OUT/$1.png"
}

# Open popup menus as "left top width" lines, leftmost first (a submenu opens to the right).
popups() {
    xwininfo -root -children |
        grep 'has no name.*"skin_demo.exe"' |
        grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]*' |
        awk -F'[x+]' '$1 > 1 { print $3, $4, $1 }' | sort -n
}
# The n-th open popup (1 = leftmost): sets P_LEFT, P_TOP and P_WIDTH.
popup() {
    local line
    line=$(popups | sed -n "${1}p")
    [ -n "$line" ] || { zam_log "no popup menu $1 is open"; return 1; }
    read -r P_LEFT P_TOP P_WIDTH <<<"$line"
}

# Menu-bar entries: owner-drawn widths (7 a character + 10) plus the system's margin of 12.
ENTRY_X=(32 103 174 245 323)
entry() { xdotool mousemove $((BAR_X + ENTRY_X[$1])) $((BAR_Y + 9)); }
# Popup items start inside a 3-pixel border; items are 22 high, separators 8.
hover_item() {  # popup number, offset of the item's top from the first item's
    popup "$1" || return 1
    xdotool mousemove $((P_LEFT + P_WIDTH / 2)) $((P_TOP + 3 + $2 + 11))
    sleep 0.8
}

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

# A click on the open entry closes the menu. Hints show only while their window is active, so
# a click on the toolbar's empty end activates the main window; then the hint of "Сохранить".
entry 1
xdotool click 1
sleep 0.5
xdotool mousemove $((MAIN_X + 450)) $((MAIN_Y + 24 + 22 + 13)) click 1
sleep 0.5
xdotool mousemove $((MAIN_X + 3 + 44 + 13)) $((MAIN_Y + 24 + 22 + 13))
sleep 0.3
xdotool mousemove $((MAIN_X + 3 + 44 + 14)) $((MAIN_Y + 24 + 22 + 13))
sleep 2
shot skin_tooltip
