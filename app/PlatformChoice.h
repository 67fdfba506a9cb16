#pragma once

#include <QByteArray>

namespace app {

// The window systems to try, in order, as Qt's QT_QPA_PLATFORM names them, or nothing
// to leave the choice to Qt.
//
// Where an X server is offered (DISPLAY is set), the window is an X11 client even on a
// Wayland session: the desktop then draws its title bar, with the close and minimise
// buttons that the window asks for and no maximise button, and lets the closing window
// move. Where the X server cannot be reached, Wayland is tried next. What the user
// chose (the QT_QPA_PLATFORM given) always stands.
QByteArray preferredPlatforms(const QByteArray &chosen, const QByteArray &display);

} // namespace app
