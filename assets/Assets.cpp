#include "assets/Assets.h"

#include "assets/Artwork.h"

#include <QDir>
#include <QPainter>

#include <cmath>

namespace assets {

QIcon windowIcon()
{
    QIcon icon;
    const QDir icons(QStringLiteral(":/assets/icons"));
    for (const QString &name : icons.entryList(QDir::Files))
        icon.addFile(icons.filePath(name));
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
