#include "app/Form1.h"
#include "app/PlatformChoice.h"
#include "app/ProgramFolder.h"
#include "sound/MonotonicTickCounter.h"
#include "sound/PulsePlayer.h"
#include "sound/QtEventPump.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// What Qt says while it starts, held back until it is known whether it could start.
QList<std::pair<QtMsgType, QString>> startMessages;
QString unreachableDisplay;

// Qt gives up with an abort and a page of advice when it finds no display; say what
// went wrong in one line instead, and end with status 1.
void holdStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        // The platform's own warning names the display it could not reach.
        if (unreachableDisplay.isEmpty() && qstrncmp(context.category, "qt.qpa", 6) == 0)
            unreachableDisplay = message.trimmed();
        startMessages.append({type, message});
        return;
    }
    const QString reason
        = unreachableDisplay.isEmpty() ? message.section(u'\n', 0, 0) : unreachableDisplay;
    std::fprintf(stderr, "varnock: cannot open a window: %s\n", qPrintable(reason));
    std::_Exit(1);
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray platforms
        = app::preferredPlatforms(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"));
    if (!platforms.isEmpty())
        qputenv("QT_QPA_PLATFORM", platforms);
    const QtMessageHandler ordinary = qInstallMessageHandler(holdStartMessage);
    QApplication application(argc, argv);
    qInstallMessageHandler(ordinary);
    for (const auto &[type, message] : std::as_const(startMessages))
        ordinary(type, QMessageLogContext(), message);
    QApplication::setStyle(QStringLiteral("Fusion"));
    // Ties the window to its desktop entry: the Wayland app id, and on X11 a property
    // beside WM_CLASS, which the entry's StartupWMClass names.
    QGuiApplication::setDesktopFileName(QStringLiteral(VARNOCK_APP_ID));

    if (app::programFolder().isEmpty())
        std::fprintf(stderr,
            "varnock: cannot tell which folder the program runs from, so its "
            "recordings cannot be found: the characters sound as nothing\n");

    sound::PulsePlayer player;
    sound::MonotonicTickCounter ticks;
    sound::QtEventPump events;
    app::Form1 form({player, ticks, events, app::programFolder, [] { std::_Exit(0); }});
    form.show();
    return QApplication::exec();
}
