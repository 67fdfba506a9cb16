#pragma once

#include <QAccessible>

class QWidget;

namespace app {

// Presents a widget of the window to a screen reader in the given role: the main window
// as a frame, like any application window, the announcer as a status bar holding one
// notification (see Announcer). Called before the widget's names are set, which a screen
// reader may hear of at once. The text boxes bring their own.
void presentAs(QWidget *widget, QAccessible::Role role);

} // namespace app
