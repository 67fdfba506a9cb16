#include "app/ClosingAnimation.h"

#include "app/WindowGeometry.h"

namespace app {
namespace {

constexpr float positionStep = 30;
constexpr float sizeStep = 2 * positionStep;

struct Frame {
    float top, left, width, height;
    bool operator==(const Frame &) const = default;
};

Frame frameOf(WindowGeometry &window)
{
    return {window.Top(), window.Left(), window.Width(), window.Height()};
}

} // namespace

void animateClosing(WindowGeometry &window)
{
    int unchangedPasses = 0;
    for (;;) {
        const Frame before = frameOf(window);
        window.setTop(window.Top() + positionStep);
        window.setLeft(window.Left() + positionStep);
        window.setWidth(window.Width() - sizeStep);
        window.setHeight(window.Height() - sizeStep);
        if (!window.carryOut())
            return;
        if (window.Top() > window.screenWidth())
            return;
        // A window the window system will neither move nor shrink any further, such as
        // one at its smallest size that the compositor keeps in place, would never get
        // past the screen's width: two passes in a row that change nothing end it. One
        // does not: mutter was seen to answer the first pass after a close request with
        // the frame as it was, and to carry out the next.
        unchangedPasses = frameOf(window) == before ? unchangedPasses + 1 : 0;
        if (unchangedPasses == 2)
            return;
    }
}

} // namespace app
