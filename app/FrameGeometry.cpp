#include "app/FrameGeometry.h"

#include "app/Twips.h"
#include "sound/TickCounter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace app {

namespace {

// How long the window system may take to answer one pass. A busy window manager answers
// within milliseconds; one that says nothing to a change it refuses costs this once, at
// the end of the animation.
constexpr int longestAnswerMs = 250;

// A window slow to draw, such as one whose box holds megabytes of text and takes a
// second for every frame, would slide for many minutes: past this, the animation ends.
constexpr int longestAnimationMs = 5000;

} // namespace

FrameGeometry::FrameGeometry(QWidget *window, sound::TickCounter &ticks)
    : window_(window)
    , handle_(window->windowHandle())
    , drawnByFrames_(QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
    , ticks_(ticks)
    , animationEnds_(ticks.GetTickCount() + longestAnimationMs)
    , reported_(handle_->geometry())
{
    handle_->installEventFilter(this);
}

bool FrameGeometry::eventFilter(QObject *, QEvent *event)
{
    // Move and resize events reach the window handle only from the window system, also
    // when it keeps the window where it was.
    switch (event->type()) {
    case QEvent::Move:
        reported_.moveTopLeft(static_cast<QMoveEvent *>(event)->pos());
        answeredSinceAsked_ = true;
        break;
    case QEvent::Resize:
        reported_.setSize(static_cast<QResizeEvent *>(event)->size());
        answeredSinceAsked_ = true;
        break;
    case QEvent::UpdateRequest:
        frameDrawn_ = true;
        break;
    default:
        break;
    }
    return false;
}

QRect FrameGeometry::reportedFrame() const
{
    return reported_.marginsAdded(handle_->frameMargins());
}

QRect &FrameGeometry::asked()
{
    if (!asked_)
        asked_ = reportedFrame();
    return *asked_;
}

float FrameGeometry::Top()
{
    return toTwips(reportedFrame().top());
}

float FrameGeometry::Left()
{
    return toTwips(reportedFrame().left());
}

float FrameGeometry::Width()
{
    return toTwips(reportedFrame().width());
}

float FrameGeometry::Height()
{
    return toTwips(reportedFrame().height());
}

void FrameGeometry::setTop(float twips)
{
    asked().moveTop(toPixels(twips));
}

void FrameGeometry::setLeft(float twips)
{
    asked().moveLeft(toPixels(twips));
}

void FrameGeometry::setWidth(float twips)
{
    asked().setWidth(toPixels(twips));
}

void FrameGeometry::setHeight(float twips)
{
    asked().setHeight(toPixels(twips));
}

float FrameGeometry::screenWidth()
{
    return toTwips(window_->screen()->geometry().width());
}

bool FrameGeometry::answered() const
{
    return drawnByFrames_ ? frameDrawn_ : answeredSinceAsked_;
}

int FrameGeometry::longestWaitMs() const
{
    // A compositor late to call for the next frame does not hold the animation up: the
    // program has resized its window itself.
    if (drawnByFrames_)
        return int(std::ceil(1000 / std::max(window_->screen()->refreshRate(), 1.0)));
    return longestAnswerMs;
}

bool FrameGeometry::carryOut()
{
    if (std::int32_t(ticks_.GetTickCount() - animationEnds_) >= 0)
        return false;
    QRect client = asked().marginsRemoved(handle_->frameMargins());
    asked_.reset();
    // Qt hides a window of no width or height rather than show it that small.
    client.setSize(client.size().expandedTo(QSize(1, 1)));

    answeredSinceAsked_ = false;
    frameDrawn_ = false;
    window_->setGeometry(client);
    if (drawnByFrames_)
        handle_->requestUpdate();
    // The user's input waits meanwhile; the timer wakes the wait when nothing else does.
    const int waitMs = longestWaitMs();
    const QDeadlineTimer deadline(waitMs, Qt::PreciseTimer);
    QTimer wakeUp;
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(waitMs);
    while (!answered() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(
            QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
    // A window manager may answer a move and a resize in two parts, sent together.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

} // namespace app
