#!/usr/bin/env bash
# The plain-text box under the real window system: a word dragged to the end of the text
# moves there, and one undo puts it back where it was; a word selected is pasted with the
# middle button, as the primary selection.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
trap end_app_test EXIT

# The middle of a character of the plain-text box on the screen, "X Y".
character_middle() {
    local x y width height
    read -r x y width height < <(a11y character "Plain text" "$1") || return 1
    echo $((x + width / 2)) $((y + height / 2))
}

start_app "$1"
activate_window "$app_window"
click_on Reset
click_on "Plain text"
xdotool type --delay 30 "dit dah"
check "the words are typed" a11y wait "Plain text" "DIT DAH" 5

read -r from_x from_y < <(character_middle 0)
read -r last_x last_y < <(character_middle 6)
xdotool mousemove "$from_x" "$from_y" click --repeat 2 --delay 80 1
check "a double-click selects the word" a11y selected "Plain text" "DIT" 5
# The drag takes the word by its last letter, two letters from the first where the
# double-click was: a press there would be a triple-click, which selects everything. It crosses the box in small steps, as a hand
# does, and lets go past the text's end.
read -r from_x from_y < <(character_middle 2)
xdotool mousemove "$from_x" "$from_y" mousedown 1
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove "$((from_x + (last_x + 20 - from_x) * step / 8))" "$last_y"
    sleep 0.05
done
xdotool mouseup 1
check "the dragged word moves to the end" a11y wait "Plain text" " DAHDIT" 5
xdotool key ctrl+z
check "one undo puts it back" a11y wait "Plain text" "DIT DAH" 5

read -r dah_x dah_y < <(character_middle 5)
xdotool mousemove "$dah_x" "$dah_y" click --repeat 2 --delay 80 1
check "a double-click selects the other word" a11y selected "Plain text" "DAH" 5
xdotool mousemove "$((last_x + 20))" "$last_y" click 2
check "the middle button pastes it past the end" a11y wait "Plain text" "DIT DAHDAH" 5
finish
