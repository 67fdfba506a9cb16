#include "app/Form1.h"
#include "sound/EventPump.h"
#include "sound/PulsePlayer.h"
#include "sound/TickCounter.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    sound::PulsePlayer player;
    sound::MonotonicTickCounter ticks;
    sound::QtEventPump events;
    app::Form1 form({player, ticks, events, [] { return QCoreApplication::applicationDirPath(); },
        [] { std::_Exit(0); }});
    form.show();
    return QApplication::exec();
}
