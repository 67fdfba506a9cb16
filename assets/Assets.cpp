#include "assets/Assets.h"

#include "assets/Artwork.h"

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
    // The build drew it for the usual ratios; another is drawn here.
    QPixmap chart(QStringLiteral(":/assets/charts/%1.png").arg(devicePixelRatio));
    if (chart.isNull())
        return QPixmap::fromImage(chartImage(devicePixelRatio));
    chart.setDevicePixelRatio(devicePixelRatio);
    return chart;
}

} // namespace assets
