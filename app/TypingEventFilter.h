#pragma once

#include <QObject>

class QKeyEvent;
class QInputMethodEvent;

namespace textbox {
class TextBox;
}

namespace app {

using textbox::TextBox;

// Passes each character typed into a box through a filter before it enters: by key or
// through an input method. Keys that type no character (arrows, Delete, Tab), and the
// clipboard, undo, redo and select-all shortcuts, work as ever; text pasted or set by
// the program is not filtered.
class TypingEventFilter : public QObject {
    Q_OBJECT

public:
    using Filter = int (*)(int code);

    TypingEventFilter(TextBox *box, Filter filter);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool filterKey(QKeyEvent *key);
    bool filterCommit(QInputMethodEvent *input);

    TextBox *box_;
    Filter filter_;
};

} // namespace app
