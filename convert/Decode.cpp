#include "convert/Decode.h"

#include "convert/Spoken.h"

namespace convert {

QString decodeMorse(QStringView morse, FormStrings &strings)
{
    QString text;
    // No token yields more than its own length plus the space that ends it.
    text.reserve(morse.size());
    const auto decodeToken = [&](QStringView token) {
        // Assigned in place: a token costs no allocation of its own.
        strings.CurrentSymbol.resize(0);
        strings.CurrentSymbol.append(token);
        // A token the table lacks gives nothing, never the character before it.
        strings.LookupResult.resize(0);
        GetText(strings);
        text += strings.LookupResult;
    };

    qsizetype start = 0;
    qsizetype space;
    while ((space = morse.indexOf(u' ', start)) >= 0) {
        decodeToken(morse.sliced(start, space - start));
        text += u' ';
        start = space + 1;
    }
    // The piece after the last space, or the whole text when it holds none.
    if (start < morse.size() || start == 0)
        decodeToken(morse.sliced(start));
    // A lone token leaves no answer behind, so a later lookup never reads it.
    if (start == 0)
        strings.LookupResult.clear();
    return text;
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

    // Nothing can run while a decode runs, so Text1 is written once, at the end.
    const QString text = decodeMorse(morse, host.strings());
    host.setText(Box::Text1, text);
    host.announce(spokenDecode(text));
}

} // namespace convert
