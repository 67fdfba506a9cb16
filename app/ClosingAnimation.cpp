#include "app/WindowGeometry.h"

namespace app {
namespace {

constexpr float positionStep = 30;
constexpr float sizeStep = 2 * positionStep;

} // namespace

void animateClosing(WindowGeometry &window)
{
    for (;;) {
        const float before = window.Top();
        window.setTop(window.Top() + positionStep);
        window.setLeft(window.Left() + positionStep);
        window.setWidth(window.Width() - sizeStep);
        window.setHeight(window.Height() - sizeStep);
        window.show();
        const float top = window.Top();
        if (top > window.screenWidth())
            return;
        // A minimised window, or one whose place the window system keeps to itself,
        // would never get there.
        if (!(top > before))
            return;
    }
}

} // namespace app
