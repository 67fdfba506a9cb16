#pragma once

namespace app {

// The window's outer frame on the screen, in twips, read and written one value at a
// time, as the closing animation moves it.
class WindowGeometry {
public:
    virtual ~WindowGeometry() = default;

    virtual float Top() = 0;
    virtual float Left() = 0;
    virtual float Width() = 0;
    virtual float Height() = 0;
    virtual void setTop(float twips) = 0;
    virtual void setLeft(float twips) = 0;
    virtual void setWidth(float twips) = 0;
    virtual void setHeight(float twips) = 0;
    virtual float screenWidth() = 0;
    // Has the window system carry out the changes so far and show the window there.
    virtual void show() = 0;
};

// Closing: every edge of the window moves 30 twips inward, pass after pass, while the
// whole window moves down and to the right, until its top edge is past the screen's
// width. A window the system will not move ends the animation at once.
void animateClosing(WindowGeometry &window);

} // namespace app
