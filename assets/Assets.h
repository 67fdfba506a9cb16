#pragma once

#include <QIcon>
#include <QPixmap>

namespace assets {

// 32 x 32, rows of black dots and dashes on a transparent ground.
QIcon windowIcon();

// The International Morse Code: its timing rules and the codes of A to Z and 0 to 9,
// 312 x 388 pixels.
QPixmap morseChart();

} // namespace assets
