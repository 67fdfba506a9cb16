#include "app/PlatformChoice.h"

namespace app {

QByteArray preferredPlatforms(const QByteArray &chosen, const QByteArray &display)
{
    if (!chosen.isEmpty() || display.isEmpty())
        return {};
    return QByteArrayLiteral("xcb;wayland");
}

} // namespace app
