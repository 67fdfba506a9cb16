#pragma once

#include <QColor>

namespace app {

// How readable one colour is on another, as WCAG 2.1 measures it: from 1 (the same
// luminance) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b);

// What ordinary text needs to be read (WCAG 2.1, level AA).
inline constexpr double readableContrast = 4.5;

// The colour for text on a ground that cannot change: the preferred one where it can be
// read there, otherwise black or white, whichever reads better.
QColor readableTextOn(const QColor &ground, const QColor &preferred);

// The ground for text whose colour cannot change: the preferred one where the text can
// be read on it, otherwise the preferred one darkened or lightened, away from the text,
// just as far as it takes.
QColor readableGroundUnder(const QColor &text, const QColor &preferred);

} // namespace app
