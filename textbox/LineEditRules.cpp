#include "textbox/LineEditRules.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace textbox::lineEditRules {

bool wordDeletionTakesOnlyTheSelection()
{
    static const bool onlyTheSelection = [] {
        // "a" selected in "a b": growing the selection to the word's edge takes "a " too.
        QLineEdit line(QStringLiteral("a b"));
        line.setSelection(0, 1);
        QKeyEvent deleteWord(QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier);
        QCoreApplication::sendEvent(&line, &deleteWord);
        return line.text() == QStringLiteral(" b");
    }();
    return onlyTheSelection;
}

} // namespace textbox::lineEditRules
