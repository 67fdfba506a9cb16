#include "app/FrameGeometry.h"

#include "app/Twips.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace app {

namespace {

// How long the window system may take to call for the next frame before the animation
// goes on without it.
constexpr int longestFrameMs = 50;

// A window slow to draw, such as one whose box holds megabytes of text and takes a
// second for every frame, would slide for many minutes: past this, the passes go on
// unseen and the animation ends at once.
constexpr int longestAnimationMs = 5000;

} // namespace

FrameGeometry::FrameGeometry(QWidget *window)
    : window_(window)
    , shownUntil_(longestAnimationMs)
{
    window->windowHandle()->installEventFilter(this);
}

bool FrameGeometry::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::UpdateRequest)
        frameDue_ = true;
    return false;
}

float FrameGeometry::Top()
{
    return toTwips(window_->frameGeometry().top());
}

float FrameGeometry::Left()
{
    return toTwips(window_->frameGeometry().left());
}

float FrameGeometry::Width()
{
    return toTwips(window_->frameGeometry().width());
}

float FrameGeometry::Height()
{
    return toTwips(window_->frameGeometry().height());
}

void FrameGeometry::setTop(float twips)
{
    window_->move(window_->frameGeometry().left(), toPixels(twips));
}

void FrameGeometry::setLeft(float twips)
{
    window_->move(toPixels(twips), window_->frameGeometry().top());
}

void FrameGeometry::setWidth(float twips)
{
    const int frame = window_->frameGeometry().width() - window_->width();
    window_->resize(toPixels(twips) - frame, window_->height());
}

void FrameGeometry::setHeight(float twips)
{
    const int frame = window_->frameGeometry().height() - window_->height();
    window_->resize(window_->width(), toPixels(twips) - frame);
}

float FrameGeometry::screenWidth()
{
    return toTwips(window_->screen()->geometry().width());
}

void FrameGeometry::show()
{
    if (shownUntil_.hasExpired())
        return;
    // Each pass is seen: the window is drawn at its new place in the display's next
    // frame before the next pass moves it on. The user's input waits meanwhile.
    frameDue_ = false;
    window_->windowHandle()->requestUpdate();
    const QDeadlineTimer deadline(longestFrameMs);
    QTimer wakeUp;
    wakeUp.start(longestFrameMs);
    while (!frameDue_ && !deadline.hasExpired()) {
        QCoreApplication::processEvents(
            QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace app
