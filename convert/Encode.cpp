#include "convert/Encode.h"

#include "convert/Spoken.h"

#include <utility>

namespace convert {
namespace {

// A character's code shows this long before the character itself and its sound; the
// next character comes this long after the sound started.
constexpr double codeShownMs = 200;
constexpr double soundHeardMs = 500;

} // namespace

Encoder::Encoder(ConversionHost &host)
    : host_(host)
{
}

void Encoder::run()
{
    QString source = takeSourceText();
    if (nesting_ >= deepestNesting) {
        ++latestRun_;
        restartPending_ = true;
        pendingSource_ = std::move(source);
        return;
    }
    ++nesting_;
    send(source);
    while (restartPending_) {
        restartPending_ = false;
        send(std::exchange(pendingSource_, {}));
    }
    --nesting_;
}

QString Encoder::takeSourceText()
{
    // Capitals by Unicode's rules, never the locale's: a Turkish dotted capital I would
    // find no code.
    host_.setText(Box::Text1, host_.text(Box::Text1).toUpper());
    host_.setText(Box::Text1, host_.text(Box::Text1).remove(u' '));
    return host_.text(Box::Text1);
}

void Encoder::send(const QString &source)
{
    const quint64 thisRun = ++latestRun_;
    FormStrings &strings = host_.strings();
    strings.SourceText = source;
    if (strings.SourceText.isEmpty()) {
        host_.showBlankFieldMessage();
        return;
    }

    const qsizetype length = strings.SourceText.size();
    for (qsizetype position = 0; position < length; ++position) {
        const QString symbol = strings.SourceText.mid(position, 1);
        strings.CurrentSymbol = symbol;
        // A character the table lacks gets an empty code, never the one before it.
        strings.LookupResult.clear();
        GetMorse(strings);
        const QString code = strings.LookupResult;
        host_.appendText(Box::Text2, code + u' ');

        host_.Delay(codeShownMs);
        if (superseded(thisRun))
            return;
        // A decode inside the wait may have used the shared strings; this step's own
        // character and code are shown and sounded.
        strings.CurrentSymbol = symbol;
        strings.LookupResult = code;
        host_.setText(Box::Text3, symbol + u' ' + code);
        host_.announce(spokenStep(symbol, code));
        host_.GetSound();
        if (superseded(thisRun))
            return;

        host_.Delay(soundHeardMs);
        if (superseded(thisRun))
            return;
    }
}

} // namespace convert
