#include "convert/Spoken.h"

#include "morse/SpokenMorse.h"

namespace convert {

QString spokenStep(QStringView symbol, QStringView code)
{
    const QString character
        = symbol.isEmpty() ? QStringLiteral("no character") : morse::spokenCharacter(symbol);
    const QString words = morse::spokenCode(code);
    return character + QStringLiteral(", ") + (words.isEmpty() ? QStringLiteral("no code") : words);
}

QString spokenDecode(QStringView text)
{
    if (text.trimmed().isEmpty())
        return QStringLiteral("no text decoded");
    if (text.size() <= longestSpokenDecode)
        return text.toString();
    // Never half a surrogate pair.
    qsizetype spoken = longestSpokenDecode;
    if (text[spoken - 1].isHighSurrogate())
        --spoken;
    const qsizetype rest = text.size() - spoken;
    return text.first(spoken).toString()
        + (rest == 1 ? QStringLiteral(", and 1 more character")
                     : QStringLiteral(", and %1 more characters").arg(rest));
}

} // namespace convert
