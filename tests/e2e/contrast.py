"""Measures how readable the text in parts of a picture is, as WCAG 2.1 rates it.

    contrast.py PICTURE NAME:X,Y,W,H ...

For each region it prints "RATIO NAME": the contrast ratio between the region's ground,
its commonest colour, and its text, the colour that stands out most from that ground
and covers at least two pixels. A region with nothing on its ground prints 1.00.
"""

import collections
import subprocess
import sys


def linear(channel):
    channel /= 255
    return channel / 12.92 if channel <= 0.04045 else ((channel + 0.055) / 1.055) ** 2.4


def luminance(rgb):
    red, green, blue = rgb
    return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue)


def ratio(a, b):
    darker, lighter = sorted((luminance(a), luminance(b)))
    return (lighter + 0.05) / (darker + 0.05)


def region_colours(picture, x, y, width, height):
    raw = subprocess.run(
        ["convert", picture, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8", "rgb:-"],
        check=True,
        capture_output=True,
    ).stdout
    if len(raw) != width * height * 3:
        raise SystemExit(f"{picture}: the region {width}x{height}+{x}+{y} lies outside it")
    return collections.Counter(tuple(raw[i : i + 3]) for i in range(0, len(raw), 3))


def text_contrast(colours):
    ground = colours.most_common(1)[0][0]
    drawn = [colour for colour, count in colours.items() if count >= 2]
    return max(ratio(ground, colour) for colour in drawn)


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    for region in argv[2:]:
        name, place = region.split(":")
        x, y, width, height = (int(part) for part in place.split(","))
        print(f"{text_contrast(region_colours(argv[1], x, y, width, height)):.2f} {name}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
