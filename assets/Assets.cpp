#include "assets/Assets.h"

#include "assets/Artwork.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace assets {

QIcon windowIcon()
{
    // Smallest first: X11 takes the sides in order until they fill one request, so that
    // the largest is the one left out.
    const QDir icons(QStringLiteral(":/assets/icons"));
    QStringList names = icons.entryList(QDir::Files);
    std::sort(names.begin(), names.end(), [](const QString &one, const QString &other) {
        return QFileInfo(one).baseName().toInt() < QFileInfo(other).baseName().toInt();
    });
    QIcon icon;
    for (const QString &name : std::as_const(names))
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
