#pragma once

#include <QRect>

#include <cmath>

namespace app {

// Positions and sizes are kept in twips, 1440 to the inch: 15 to a pixel at 96 dots per
// inch. Qt places widgets in device-independent pixels, so this is the one conversion.
inline constexpr double twipsPerPixel = 15.0;

inline int toPixels(double twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

inline float toTwips(int pixels)
{
    return static_cast<float>(pixels * twipsPerPixel);
}

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

inline QRect toPixels(const TwipRect &r)
{
    return QRect(toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height));
}

} // namespace app
