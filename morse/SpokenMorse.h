#pragma once

#include <QString>
#include <QStringView>

namespace morse {

// A code in words a listener can follow: "dot dot dot" for "...". Marks other than dots and
// dashes are left out.
QString spokenCode(QStringView code);

// A character as a speech synthesizer should say it: punctuation, which synthesizers often
// skip, by its name ("full stop"), white space by its name, anything else as it is.
QString spokenCharacter(QStringView character);

} // namespace morse
