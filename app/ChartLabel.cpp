#include "app/ChartLabel.h"

#include "assets/Assets.h"

namespace app {

ChartLabel::ChartLabel(QWidget *parent)
    : QLabel(parent)
{
    setPixmap(assets::morseChart(devicePixelRatioF()));
}

// A change of scale always repaints the whole window, so the paint is where it shows.
void ChartLabel::paintEvent(QPaintEvent *event)
{
    if (pixmap().devicePixelRatio() != devicePixelRatioF())
        setPixmap(assets::morseChart(devicePixelRatioF()));
    QLabel::paintEvent(event);
}

} // namespace app
