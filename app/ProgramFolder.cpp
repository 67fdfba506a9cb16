#include "app/ProgramFolder.h"

#include <QCoreApplication>
#include <QFile>

#include <climits>
#include <unistd.h>

namespace app {

QByteArray programFolder()
{
    // The kernel's link names the program's own file whatever the bytes of its path; Qt's
    // answer passes through the locale's encoding and loses bytes that are not valid there.
    char target[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", target, sizeof target);
    QByteArray path;
    if (length > 0 && std::size_t(length) < sizeof target)
        path = QByteArray(target, length);
    else
        path = QFile::encodeName(QCoreApplication::applicationFilePath());
    // A program replaced while it runs is named "... (deleted)": only the last part changes.
    const qsizetype slash = path.lastIndexOf('/');
    if (!path.startsWith('/') || slash < 0)
        return QByteArray();
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

} // namespace app
