#include "sound/CharacterSounds.h"

#include "sound/SoundSink.h"

namespace sound {

CharacterSounds::CharacterSounds(SoundSink &sink, Folder folder, Pause pause)
    : sink_(sink)
    , folder_(std::move(folder))
    , pause_(std::move(pause))
{
}

void CharacterSounds::GetSound(const QString &symbol)
{
    if (symbol.size() != 1)
        return;
    const QChar character = symbol.front();
    if (character == u'0') {
        // The choice is made now: whatever runs inside the pauses, five dashes follow.
        for (int dash = 0; dash < zeroDashes; ++dash) {
            playRecording(dashRecording);
            pause_(zeroDashPauseMs);
        }
    } else if (QLatin1StringView(VARNOCK_RECORDED_CHARACTERS).contains(character)) {
        playRecording(character);
    }
}

void CharacterSounds::playRecording(QChar recording)
{
    sink_.play(recordingPath(recording));
}

void CharacterSounds::prepare()
{
    if (const QByteArray path = recordingPath(dotRecording); !path.isEmpty())
        sink_.prepare(path);
}

QByteArray CharacterSounds::recordingPath(QChar recording) const
{
    const QByteArray folder = folder_();
    if (folder.isEmpty())
        return QByteArray();
    return folder + "/morsecode_" + char(recording.unicode()) + ".wav";
}

} // namespace sound
