#pragma once

namespace app {

class WindowGeometry;

// Closing: pass after pass, every edge of the window moves 30 twips inward while the
// whole window moves down and to the right, until its top edge is past the screen's
// width. Where the window system stops moving the window, it goes on shrinking it; the
// animation ends after two passes in a row that changed nothing the window system reports.
void animateClosing(WindowGeometry &window);

} // namespace app
