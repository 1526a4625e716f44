# For scripts/app_screenshot.sh: runs one program of the Windows tree under Xvfb and Wine
# and drives its menu strip with the mouse. Source after common.sh; set OUT first.
# LC_ALL picks the Wine code page the program runs under (C.UTF-8 unless set).

SHOT_PID=
SHOT_EXE=
shot_finish() {
    [ -n "$SHOT_PID" ] && kill "$SHOT_PID" 2>/dev/null
    zam_stop_wine
    zam_stop_xvfb
}

# shot_start folder exe title [arguments...]: runs exe (from the win64 tree) in folder and
# waits for its menu strip; sets BAR_X, BAR_Y and MAIN_X, MAIN_Y (the window titled title).
shot_start() {
    local dir=$1 exe=$2 title=$3 strip main
    shift 3
    SHOT_EXE=$exe
    trap shot_finish EXIT
    zam_start_xvfb || return 1
    zam_start_wine
    (cd "$dir" && LC_ALL=${LC_ALL:-C.UTF-8} exec "$ZAM_WINE" "$ZAM_BUILD/win64/$exe" "$@") \
        >/dev/null 2>&1 &
    SHOT_PID=$!
    for _ in $(seq 300); do
        strip=$(xdotool search --onlyvisible --name '^frmMenu$' 2>/dev/null | head -1)
        [ -n "$strip" ] && break
        sleep 0.2
    done
    [ -n "$strip" ] || { zam_log "$exe did not show its window"; return 1; }
    sleep 1  # the first paint
    eval "$(xdotool getwindowgeometry --shell "$strip")"
    BAR_X=$X
    BAR_Y=$Y
    main=$(xdotool search --onlyvisible --name "^$title\$" | head -1)
    eval "$(xdotool getwindowgeometry --shell "$main")"
    MAIN_X=$X
    MAIN_Y=$Y
}

shot() {
    import -window root "$OUT/$1.png" && echo "$OUT/$1.png"
}

# Open popup menus as "left top width" lines, leftmost first (a submenu opens to the right).
popups() {
    xwininfo -root -children |
        grep "has no name.*\"$SHOT_EXE\"" |
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

# Hints show only while their window is active: a click on the toolbar's empty end activates
# the main window, then the pointer rests on the toolbar button at this left.
hint_of() {
    xdotool mousemove $((MAIN_X + 450)) $((MAIN_Y + 24 + 22 + 13)) click 1
    sleep 0.5
    xdotool mousemove $((MAIN_X + 3 + $1 + 13)) $((MAIN_Y + 24 + 22 + 13))
    sleep 0.3
    xdotool mousemove $((MAIN_X + 3 + $1 + 14)) $((MAIN_Y + 24 + 22 + 13))
    sleep 2
}
