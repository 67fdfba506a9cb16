#include "app/Contrast.h"

#include <algorithm>
#include <cmath>

namespace app {
namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}

QColor blend(const QColor &from, const QColor &to, double share)
{
    const auto mix = [share](float a, float b) { return a + (b - a) * float(share); };
    return QColor::fromRgbF(mix(from.redF(), to.redF()), mix(from.greenF(), to.greenF()),
        mix(from.blueF(), to.blueF()));
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double first = luminance(a), second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor readableTextOn(const QColor &ground, const QColor &preferred)
{
    if (contrastRatio(preferred, ground) >= readableContrast)
        return preferred;
    const QColor black(Qt::black), white(Qt::white);
    return contrastRatio(black, ground) >= contrastRatio(white, ground) ? black : white;
}

QColor readableGroundUnder(const QColor &text, const QColor &preferred)
{
    if (contrastRatio(text, preferred) >= readableContrast)
        return preferred;
    // Towards whichever end lets the text stand out more; in steps of a fiftieth, so the
    // ground keeps as much of its own colour as it can.
    const QColor black(Qt::black), white(Qt::white);
    const QColor end = contrastRatio(text, black) >= contrastRatio(text, white) ? black : white;
    constexpr int steps = 50;
    QColor ground = preferred;
    for (int step = 1; step <= steps && contrastRatio(text, ground) < readableContrast; ++step)
        ground = blend(preferred, end, double(step) / steps);
    return ground;
}

} // namespace app
