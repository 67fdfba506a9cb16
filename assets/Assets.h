#pragma once

#include <QIcon>
#include <QPixmap>

namespace assets {

// Rows of black dots and dashes on a transparent ground, at every side the build drew it
// (16 to 256 pixels); the window's own icon is the 32 x 32 one.
QIcon windowIcon();

// The chart at its size in logical pixels (chartWidth x chartHeight, in Artwork.h), drawn
// for a screen of the given device pixel ratio so that it is as sharp there as text is.
QPixmap morseChart(qreal devicePixelRatio);

} // namespace assets
