#pragma once

namespace app {

// What a typed character becomes before it enters a box: the code that enters, or 0
// when the keystroke is refused. Codes are those of the Western 8-bit character set;
// no code above 127 passes.

// The plain-text box takes capital letters (small ones are raised), digits, the colon,
// the space and Backspace (8).
int filterPlainText(int code);

// The Morse box takes the dot, the hyphen as dash, the space and Backspace (8).
int filterMorse(int code);

} // namespace app
