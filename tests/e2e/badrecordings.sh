#!/usr/bin/env bash
# The program beside recordings that are missing, empty, cut short, lying about their
# format or a hundred mebibytes large: an encode keeps its pauses, nothing is reported,
# and the window answers throughout.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"

folder=$scratch
program_folder=$(dirname "$1")
cp "$1" "$program_folder"/morsecode_*.wav "$folder/"
rm "$folder/morsecode_E.wav"
: >"$folder/morsecode_S.wav"
head -c 300 "$program_folder/morsecode_O.wav" >"$folder/morsecode_O.wav"
# Two hundred channels, says the header of T.
printf '\xc8\x00' | dd of="$folder/morsecode_T.wav" bs=1 seek=22 conv=notrunc status=none
# M's recording, 20 minutes long: its header says so, and the file holds that many
# samples, of silence, in a sparse file that takes no room on the disk.
little_endian_32() {
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"
}
data_bytes=$((1200 * 44100 * 2))
little_endian_32 $((data_bytes + 36)) | dd of="$folder/morsecode_M.wav" bs=1 seek=4 conv=notrunc status=none
little_endian_32 "$data_bytes" | dd of="$folder/morsecode_M.wav" bs=1 seek=40 conv=notrunc status=none
truncate -s $((data_bytes + 44)) "$folder/morsecode_M.wav"
check "M's recording is over 100 MiB" test "$(stat -c %s "$folder/morsecode_M.wav")" -gt 104857600

start_app "$folder/varnock"
activate_window "$app_window"
click_on Reset
xdotool type --delay 30 "esotm"
check "typed" a11y wait "Plain text" "ESOTM" 5

time_encoded_codes 5
check_code_spacing 5
check "the codes read . ... --- - --" a11y wait "Morse code" ". ... --- - -- " 5
check "no message came up" eval '! error_box'
finish
