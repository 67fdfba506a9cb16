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
        for (int dash = 0; dash < 5; ++dash) {
            start(u'T');
            pause_(300);
        }
    } else if ((character >= u'A' && character <= u'Z')
        || (character >= u'1' && character <= u'9')) {
        start(character);
    }
}

void CharacterSounds::keyDown(int key)
{
    if (key == Qt::Key_Left)
        start(u'E');
    if (key == Qt::Key_Right)
        start(u'T');
}

void CharacterSounds::start(QChar recording)
{
    // A folder that cannot be found is no folder: never the root's "/morsecode_E.wav".
    const QByteArray folder = folder_();
    if (folder.isEmpty()) {
        sink_.play(QByteArray());
        return;
    }
    sink_.play(folder + "/morsecode_" + char(recording.unicode()) + ".wav");
}

} // namespace sound
