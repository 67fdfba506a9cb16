#pragma once

namespace app {

// The main window as a screen reader sees it: a frame, like any application window.
void installFormAccessibility();

} // namespace app
