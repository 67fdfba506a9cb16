#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace sound {

class SoundSink;

// Sounds letters and digits from their recordings, "morsecode_X.wav" in the program's
// folder. The digit 0 has no recording of its own: it is five of T's dashes.
class CharacterSounds {
public:
    // The running program's folder as the file system spells it, empty when it cannot be
    // found; asked afresh for every sound.
    using Folder = std::function<QByteArray()>;
    // Waits that many milliseconds while the window stays alive.
    using Pause = std::function<void(double ms)>;

    CharacterSounds(SoundSink &sink, Folder folder, Pause pause);

    // Starts the sound of a capital letter or a digit and returns while it plays; any
    // other string sounds nothing. The digit 0 returns after its five dashes' pauses.
    void GetSound(const QString &symbol);

    // Starts the recording of one character: dotRecording is a single dot, dashRecording
    // a single dash.
    void playRecording(QChar recording);

    // Readies the sink for the recordings before the first of them is asked for.
    void prepare();

    static constexpr char16_t dotRecording = u'E';
    static constexpr char16_t dashRecording = u'T';
    // The digit 0 is this many dashes, each followed by a pause.
    static constexpr int zeroDashes = 5;
    static constexpr double zeroDashPauseMs = 300;

private:
    // Empty when the folder cannot be found: never the root's "/morsecode_E.wav".
    QByteArray recordingPath(QChar recording) const;

    SoundSink &sink_;
    Folder folder_;
    Pause pause_;
};

} // namespace sound
