#pragma once

#include <QString>

class QWidget;

namespace textbox {

// Tell an active screen reader what changed in a box.
void notifyTextReplaced(QWidget *box, const QString &old, const QString &text);
void notifyTextChanged(QWidget *box, int position, const QString &removed, const QString &inserted);
void notifyCursorMoved(QWidget *box, int position);
void notifySelectionChanged(QWidget *box, int start, int end);

} // namespace textbox
