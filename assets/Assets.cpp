#include "assets/Assets.h"

namespace assets {

QIcon windowIcon()
{
    return QIcon(QStringLiteral(":/assets/icon.png"));
}

QPixmap morseChart()
{
    return QPixmap(QStringLiteral(":/assets/chart.png"));
}

} // namespace assets
