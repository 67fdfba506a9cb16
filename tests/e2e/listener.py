"""Hears Morse code as a listener does: from the lengths of the tones and of the silences
between them alone, by the ITU's rules, told nothing of where each sound was started.

    tone_segments RECORDING | listener.py

Reads "start_ms length_ms" a tone, as tone_segments prints them. The unit is the length
of a dot: the middle one of the tones shorter than two thirds of the longest, a dash of
three units. A silence shorter than half a unit is no silence to the ear: it is a hole
in the tone around it. A tone under two units is a dot, a longer one a dash; a silence
under two units parts the elements of one character, a longer one two characters.
Prints the text heard on the first line, a code the table lacks as <code>; then, one
"name value" a line, the unit, the holes heard, the narrowest silence between two
characters in units, and the shortest, median and longest time from one character's
start to the next.
"""

import sys

# The International Morse Code's letters and digits (ITU-R M.1677-1).
CODES = {
    ".-": "A", "-...": "B", "-.-.": "C", "-..": "D", ".": "E", "..-.": "F", "--.": "G",
    "....": "H", "..": "I", ".---": "J", "-.-": "K", ".-..": "L", "--": "M", "-.": "N",
    "---": "O", ".--.": "P", "--.-": "Q", ".-.": "R", "...": "S", "-": "T", "..-": "U",
    "...-": "V", ".--": "W", "-..-": "X", "-.--": "Y", "--..": "Z", "-----": "0",
    ".----": "1", "..---": "2", "...--": "3", "....-": "4", ".....": "5", "-....": "6",
    "--...": "7", "---..": "8", "----.": "9",
}


def main():
    tones = [tuple(float(field) for field in line.split()) for line in sys.stdin if line.strip()]
    if not tones:
        print("")
        print("unit_ms 0")
        return 1
    longest = max(length for _, length in tones)
    dots = sorted(length for _, length in tones if length < 2 / 3 * longest)
    unit = dots[len(dots) // 2] if dots else longest / 3

    heard, holes = [], 0
    for start, length in tones:
        if heard and start - (heard[-1][0] + heard[-1][1]) < unit / 2:
            holes += 1
            heard[-1] = (heard[-1][0], start + length - heard[-1][0])
        else:
            heard.append((start, length))

    characters, code, starts, gaps = [], "", [], []
    end = None
    for start, length in heard:
        if end is not None and start - end >= 2 * unit:
            characters.append(CODES.get(code, f"<{code}>"))
            code = ""
            gaps.append((start - end) / unit)
        if not code:
            starts.append(start)
        code += "." if length < 2 * unit else "-"
        end = start + length
    characters.append(CODES.get(code, f"<{code}>"))

    steps = [b - a for a, b in zip(starts, starts[1:])]
    print("".join(characters))
    print(f"unit_ms {unit:.1f}")
    print(f"holes {holes}")
    if gaps:
        print(f"narrowest_gap_units {min(gaps):.2f}")
    if steps:
        print(f"shortest_step_ms {min(steps):.1f}")
        print(f"median_step_ms {sorted(steps)[len(steps) // 2]:.1f}")
        print(f"longest_step_ms {max(steps):.1f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
