#include "morse/SpokenMorse.h"

#include <QStringList>

#include <utility>

namespace morse {
namespace {

constexpr std::pair<char16_t, const char16_t *> characterNames[] = {
    {u',', u"comma"},
    {u'.', u"full stop"},
    {u'?', u"question mark"},
    {u';', u"semicolon"},
    {u':', u"colon"},
    {u'/', u"slash"},
    {u'-', u"hyphen"},
    {u'\'', u"apostrophe"},
    {u'+', u"plus"},
    {u'"', u"quotation mark"},
    {u'@', u"at sign"},
    {u'(', u"left bracket"},
    {u')', u"right bracket"},
    {u'_', u"underscore"},
    {u'$', u"dollar sign"},
    {u'&', u"ampersand"},
    {u'=', u"equals sign"},
    {u' ', u"space"},
    {u'\t', u"tab"},
    {u'\n', u"line break"},
    {u'\r', u"line break"},
};

} // namespace

QString spokenCode(QStringView code)
{
    QStringList words;
    for (const QChar mark : code) {
        if (mark == u'.')
            words << QStringLiteral("dot");
        else if (mark == u'-')
            words << QStringLiteral("dash");
    }
    return words.join(u' ');
}

QString spokenCharacter(QStringView character)
{
    if (character.size() == 1) {
        for (const auto &[mark, name] : characterNames) {
            if (character.front() == mark)
                return QString::fromUtf16(name);
        }
    }
    return character.toString();
}

} // namespace morse
