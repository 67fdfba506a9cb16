#pragma once

namespace app {

// The window's own widgets as a screen reader sees them: the main window a frame, like any
// application window, and the announcer a status bar holding one notification (see
// Announcer). The text boxes bring their own.
void installAccessibility();

} // namespace app
