#include "assets/Assets.h"

#include "assets/Artwork.h"

#include <QResource>

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
    // The build drew it for the usual ratios, as grey levels a byte a pixel; another ratio
    // is drawn here.
    const int width = int(std::ceil(chartWidth * devicePixelRatio));
    const int height = int(std::ceil(chartHeight * devicePixelRatio));
    const QByteArray grey
        = QResource(QStringLiteral(":/assets/charts/%1.grey").arg(devicePixelRatio))
              .uncompressedData();
    QPixmap chart = grey.size() == qsizetype(width) * height
        ? QPixmap::fromImage(QImage(reinterpret_cast<const uchar *>(grey.constData()), width,
            height, width, QImage::Format_Grayscale8))
        : QPixmap::fromImage(chartImage(devicePixelRatio));
    chart.setDevicePixelRatio(devicePixelRatio);
    return chart;
}

} // namespace assets
