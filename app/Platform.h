#pragma once

#include <QByteArray>

#include <functional>

namespace sound {
class EventPump;
class SoundSink;
class TickCounter;
} // namespace sound

namespace app {

// What the window stands on outside Qt's widgets: the real services in the program,
// fakes in the tests.
struct Platform {
    sound::SoundSink &sounds;
    sound::TickCounter &ticks;
    sound::EventPump &events;
    // The running program's folder, where its recordings lie, as the file system spells it;
    // empty when it cannot be found.
    std::function<QByteArray()> programFolder;
    // Ends the process at once, handling nothing more.
    std::function<void()> endProcess;
};

} // namespace app
