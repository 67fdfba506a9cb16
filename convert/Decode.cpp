#include "convert/Decode.h"

#include "convert/Spoken.h"
#include "morse/MorseTable.h"

namespace convert {

Decoded decodeMorse(QStringView morse)
{
    Decoded decoded;
    // No token yields more than its own length plus the space that ends it.
    decoded.text.reserve(morse.size());
    const auto decodeToken = [&decoded](QStringView token) {
        decoded.lastToken = token;
        decoded.lastAnswer = morse::characterFor(token).value_or(QStringView());
        decoded.text += decoded.lastAnswer;
    };

    qsizetype start = 0;
    qsizetype space;
    while ((space = morse.indexOf(u' ', start)) >= 0) {
        decodeToken(morse.sliced(start, space - start));
        decoded.text += u' ';
        start = space + 1;
    }
    // The piece after the last space, or the whole text when it holds none.
    if (start < morse.size() || start == 0) {
        decodeToken(morse.sliced(start));
        decoded.singleToken = start == 0;
    }
    return decoded;
}

void decode(ConversionHost &host)
{
    host.setText(Box::Text1, QString());
    host.setText(Box::Text3, QString());
    const QString morse = host.text(Box::Text2);
    if (morse.isEmpty()) {
        host.showBlankFieldMessage();
        return;
    }

    const Decoded decoded = decodeMorse(morse);
    FormStrings &strings = host.strings();
    strings.CurrentSymbol = decoded.lastToken.toString();
    // A lone token leaves no answer behind, so a later lookup never reads it.
    strings.LookupResult = decoded.singleToken ? QString() : decoded.lastAnswer.toString();
    // Nothing can run while a decode runs, so Text1 is written once, at the end.
    host.setText(Box::Text1, decoded.text);
    host.announce(spokenDecode(decoded.text));
}

} // namespace convert
