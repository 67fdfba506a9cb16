#pragma once

#include <QByteArray>

namespace app {

// The folder that holds the running program, byte for byte as the file system names it,
// so that a folder whose name is not valid in the locale's encoding is found as well.
// Empty when the program cannot tell where it runs from.
QByteArray programFolder();

} // namespace app
