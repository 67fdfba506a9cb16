#include "assets/Assets.h"

#include "assets/Artwork.h"

#include <QPainter>

#include <cmath>

namespace assets {

QIcon windowIcon()
{
    // Smallest first: X11 takes the sides in order until they fill one request, so that
    // the largest is the one left out.
    QIcon icon;
    for (const int side : {ICON_SIDES})
        icon.addFile(QStringLiteral(":/assets/icons/%1.png").arg(side));
    return icon;
}

QPixmap morseChart(qreal devicePixelRatio)
{
    QPixmap chart(int(std::ceil(chartWidth * devicePixelRatio)),
        int(std::ceil(chartHeight * devicePixelRatio)));
    chart.setDevicePixelRatio(devicePixelRatio);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    drawChart(painter);
    return chart;
}

} // namespace assets
