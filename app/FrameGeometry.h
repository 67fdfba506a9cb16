#pragma once

#include "app/WindowGeometry.h"

#include <QObject>
#include <QRect>

#include <cstdint>
#include <optional>

namespace sound {
class TickCounter;
}

class QWidget;
class QWindow;

namespace app {

// A top-level widget's frame, title bar and borders included, as the window system
// reports it: Qt takes a move or a resize as done when it asks for it, so the frame is
// read from the move and resize events the window system sends back instead. The whole
// animation's time is counted on ticks.
class FrameGeometry : public QObject, public WindowGeometry {
public:
    FrameGeometry(QWidget *window, sound::TickCounter &ticks);

    float Top() override;
    float Left() override;
    float Width() override;
    float Height() override;
    void setTop(float twips) override;
    void setLeft(float twips) override;
    void setWidth(float twips) override;
    void setHeight(float twips) override;
    float screenWidth() override;
    bool carryOut() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRect reportedFrame() const;
    QRect &asked();
    // Whether the window system has answered the pass handed to it: on X11 the window
    // manager reports the frame it made of it, also when it kept the window as it was;
    // on Wayland the program sizes its window itself, the compositor keeps its place,
    // and the answer is the frame the compositor calls for once it has shown the last.
    bool answered() const;
    int longestWaitMs() const;

    QWidget *window_;
    QWindow *handle_;
    const bool drawnByFrames_;
    sound::TickCounter &ticks_;
    const std::uint32_t animationEnds_;
    QRect reported_;
    std::optional<QRect> asked_;
    bool answeredSinceAsked_ = false;
    bool frameDrawn_ = false;
};

} // namespace app
