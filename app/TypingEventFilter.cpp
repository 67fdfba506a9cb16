#include "app/TypingEventFilter.h"

#include "textbox/TextBox.h"
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace app {
namespace {

constexpr int backspace = 8;

// Keys that carry text yet type nothing: they move the focus or delete forward.
bool isKeyWithoutCharacter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab
        || key->key() == Qt::Key_Delete;
}

} // namespace

TypingEventFilter::TypingEventFilter(TextBox *box, Filter filter)
    : QObject(box)
    , box_(box)
    , filter_(filter)
{
    box->installEventFilter(this);
}

bool TypingEventFilter::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return filterKey(static_cast<QKeyEvent *>(event));
    case QEvent::InputMethod:
        return filterCommit(static_cast<QInputMethodEvent *>(event));
    default:
        return false;
    }
}

bool TypingEventFilter::filterKey(QKeyEvent *key)
{
    if (key->text().isEmpty() || isKeyWithoutCharacter(key) || TextBox::isEditCommand(key))
        return false;

    // Control with a letter types that letter's control code, whatever text the
    // keyboard layout gives it: Control+H is a Backspace.
    const bool control = key->modifiers() & Qt::ControlModifier;
    const bool controlLetter = control && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z;
    const QString typed = controlLetter ? QString(QChar(key->key() - Qt::Key_A + 1)) : key->text();

    QString entering;
    for (QChar character : typed) {
        if (const int code = filter_(character.unicode() > 127 ? 0 : character.unicode()))
            entering += QChar(code);
    }
    if (entering == typed && !controlLetter)
        return false;

    for (QChar character : entering) {
        if (character.unicode() == backspace)
            box_->backspace();
        else
            box_->insert(character);
    }
    return true;
}

bool TypingEventFilter::filterCommit(QInputMethodEvent *input)
{
    QString entering;
    for (QChar character : input->commitString()) {
        // Only keys delete: a control character inside committed text is dropped.
        const int code = character.unicode() > 127 ? 0 : filter_(character.unicode());
        if (code >= ' ')
            entering += QChar(code);
    }
    if (entering == input->commitString())
        return false;

    QInputMethodEvent filtered(input->preeditString(), input->attributes());
    filtered.setCommitString(entering, input->replacementStart(), input->replacementLength());
    QCoreApplication::sendEvent(box_, &filtered);
    return true;
}

} // namespace app
