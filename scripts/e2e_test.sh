#!/usr/bin/env bash
# The real program worked by a user's mouse and keyboard only (xdotool): open a cryptogram
# through the file dialog, point, click, type Russian letters, clear one with the space bar,
# save through the dialog, quit with the close button; then the result file must be exactly
# the expected one and no memory report may have appeared. Needs a display and a Wine server
# (test.sh starts both); LC_ALL picks the locale under test. Exits non-zero on failure. On
# the way it highlights a phrase through the phrase dialog and a pair through the bigram table.
set -uo pipefail
. "$(dirname "$0")/common.sh"
exe=$ZAM_BUILD/win64/zamenor.exe
work=$(mktemp -d /tmp/zamenor-e2e.XXXXXX)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
    zam_log "e2e ($LC_ALL): $*"
    local w
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        zam_log "  window: $(xdotool getwindowname "$w" 2>/dev/null)"
    done
    exit 1
}

# МАМА МЫЛА РАМУ under a key of our own; the gap stays a gap.
python3 - "$work" <<'PY'
import sys
plain = "МАМА_МЫЛА_РАМУ"
letters = "АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЬЫЭЮЯ"
shifted = letters[5:] + letters[:5]
cipher = "".join(c if c == "_" else shifted[letters.index(c)] for c in plain)
open(sys.argv[1] + "/code.txt", "wb").write(cipher.encode("cp1251") + b"\r\n")
# The user assigns М, А, Ы, Л and the gap; Р is typed wrong and cleared; У is never given.
known = {"М": "М", "А": "А", "Ы": "Ы", "Л": "Л"}
key = "".join(known.get(letters[shifted.index(c)], " ") if c in shifted else " "
              for c in letters) + "_ "
text = "".join("_" if c == "_" else known.get(p, " ") for c, p in zip(cipher, plain))
lines = ["Шифротекст:", cipher, "Алфавит замены:", key, "Открытый текст:", text]
open(sys.argv[1] + "/expected.txt", "wb").write(
    b"".join(l.encode("cp1251") + b"\r\n" for l in lines))
PY

(cd "$work" && exec "$ZAM_WINE" "$exe" >/dev/null 2>&1 </dev/null) &
pid=$!
for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Zamenor$' >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Zamenor$' >/dev/null 2>&1 || fail "no main window"
sleep 0.5

wine_path() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }
# A file dialog: wait for it, type the path into its name field, confirm.
dialog() {
    local id=
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "no dialog \"$1\""
    sleep 0.5
    xdotool type --delay 20 "$(wine_path "$2")"
    xdotool key Return
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "dialog \"$1\" did not close"
}

# Toolbar: client origin 3, 24; toolbar panel 22 lower; buttons 26 wide at top 2.
xdotool mousemove 34 61 click 1
dialog 'Выберите файл содержащий зашифрованный текст' "$work/code.txt"
sleep 0.5
xdotool search --onlyvisible --name '^Zamenor - code.txt$' >/dev/null || fail "not opened"

# Waits up to five seconds for a window of that exact title.
titled() {
    for _ in $(seq 50); do
        xdotool search --name "^$1\$" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}
# xdotool types a letter the keyboard map lacks by mapping it onto a spare key for a moment; a
# busy Wine may read that key after the mapping has gone and drop the letter. So a letter is
# typed again until the alphabet window's title shows that the program took it.
type_until_titled() {  # text, title
    for _ in $(seq 5); do
        xdotool type --delay 50 "$1"
        titled "$2" && return 0
        sleep 1
    done
    return 1
}
# A cell of the ciphertext window: surface at 4, 103; cells 16 apart.
cell() { xdotool mousemove $((4 + 16 * ($1 - 1) + 11)) $((103 + 11)); sleep 0.2; }
# Selects the cell's letter (the hint names it) and types its plaintext letter (the hint goes).
pick() {
    cell "$1"
    xdotool click 1
    titled "Алфавит  \.: Заменим .* :\." || fail "cell $1 was not selected"
    type_until_titled "$2" "Алфавит " || fail "\"$2\" did not reach the program"
}
pick 1 'м'        # М
pick 2 'а'        # А
pick 7 'ы'        # Ы
pick 8 'л'        # Л
pick 5 '_'        # the gap
pick 11 'о'       # Р typed wrong ...
pick 11 ' '       # ... and cleared with the space bar
xdotool mousemove 300 30   # off the texts

# The colour a user sees at a point of the screen, #RRGGBB.
seen() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1; }
# Waits up to three seconds for the colour at the point.
shows() {  # x, y, colour
    for _ in $(seq 10); do
        sleep 0.3
        [ "$(seen "$1" "$2")" = "$3" ] && return 0
    done
    return 1
}
first_cell=(9 108)          # inside the first ciphertext cell, clear of its letter
# The phrase dialog: the cipher letters of "МА" typed in lower case, Enter highlights them.
# A try that lost a letter starts again from an emptied box.
for try in $(seq 4); do
    xdotool mousemove 129 61 click 1
    sleep 0.5
    xdotool mousemove 343 171 click 1
    xdotool key End BackSpace BackSpace BackSpace
    xdotool type --delay 80 'се'
    xdotool key Return
    shows "${first_cell[@]}" "#0000FF" && break
    [ "$try" -lt 4 ] || fail "the phrase is not highlighted"
done
# A click on the pair СЕ in the bigram table selects it: green over the phrase.
xdotool mousemove 638 335 click 1
shows "${first_cell[@]}" "#00FF00" || fail "the bigram is not highlighted"
xdotool mousemove 300 30

xdotool mousemove 60 61 click 1
dialog 'Выберите файл для сохранения' "$work/done.txt"
sleep 0.3
# The key button builds the solver's tables; Ctrl+Z takes its letters back, so the close that
# follows has nothing unsaved to ask about, and the tables must not count as lost memory.
xdotool mousemove 336 61 click 1
sleep 1
xdotool key ctrl+z
sleep 0.5
# Wine raises the clicked main window over the menu strip it owns as the graph window opens; the
# strip must come back on top, or its captions are gone and a click there misses the menu.
xdotool mousemove 248 61 click 1
sleep 0.5
# The stem of the Ф of "Файл": black on the strip, the skin's colour on the panel under it.
shows 28 33 "#000000" || fail "the menu bar is covered after a click into the main window"
xdotool mousemove 513 12 click 1    # the main window's close button
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    xdotool search --onlyvisible --name 'Критическая ошибка' >/dev/null 2>&1 &&
        fail "the memory report appeared"
    fail "the program did not end"
fi
cmp -s "$work/done.txt" "$work/expected.txt" || {
    od -c "$work/done.txt" | head -n 20 >&2
    fail "the result file differs from the expected one"
}
zam_log "e2e ($LC_ALL): passed"
