#include "app/FrameGeometry.h"

#include "app/Twips.h"

#include <QCoreApplication>
#include <QScreen>
#include <QWidget>

namespace app {

FrameGeometry::FrameGeometry(QWidget *window)
    : window_(window)
{
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
    window_->repaint();
    // Sends the moves to the window system; the user's input waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace app
