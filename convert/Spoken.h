#pragma once

#include <QString>
#include <QStringView>

namespace convert {

// The most of a decoded text that is read out; the rest is only counted, so a huge decode
// is never read for minutes on end.
constexpr qsizetype longestSpokenDecode = 500;

// What a screen reader says as an encode shows and sounds a character: the character,
// then its code in words ("S, dot dot dot").
QString spokenStep(QStringView symbol, QStringView code);

// What a screen reader says once a decode has written its text.
QString spokenDecode(QStringView text);

} // namespace convert
