#pragma once

namespace app {

// The window's outer frame on the screen, in twips, as the closing animation moves it:
// each value reads what the window system last reported, each write asks for a change,
// and carryOut() has the window system carry out what was asked.
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
    // Hands the changes asked for since the last call to the window system and waits,
    // a bounded time, until it has answered them, so that the values read next are the
    // ones it chose. False once the window can be waited for no longer.
    virtual bool carryOut() = 0;
};

} // namespace app
