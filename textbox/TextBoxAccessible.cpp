// A text box as a screen reader sees it: an editable text with the AT-SPI Text and
// EditableText interfaces, answered from the stretch asked about.

#include "textbox/TextBox.h"

#include <QAccessibleWidget>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <mutex>
#include <tuple>

namespace textbox {
namespace {

// How far around an offset a word or sentence is looked for.
constexpr int boundaryReach = 512;

class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(TextBox *box)
        : QAccessibleWidget(box, QAccessible::EditableText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.selectableText = true;
        state.multiLine = false;
        return state;
    }

    // Text
    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index != 0 || !box()->hasSelectedText())
            return;
        *start = box()->selectionStart();
        *end = box()->selectionEnd();
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { box()->setCursorPosition(box()->cursorPosition()); }
    void setSelection(int, int start, int end) override { box()->setSelection(start, end - start); }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        const QString &all = box()->text();
        start = std::clamp(start, 0, int(all.size()));
        end = end < 0 ? int(all.size()) : std::clamp(end, start, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(box()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QRect rect = box()->characterRect(offset);
        return rect.isNull() ? rect : QRect(box()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return box()->positionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int) override { box()->setCursorPosition(start); }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = offset;
        *end = offset + 1;
        return {};
    }
    QString textBeforeOffset(
        int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        const auto [itemStart, itemEnd] = item(offset, type);
        if (itemStart <= 0)
            return *start = *end = 0, QString();
        return textAt(itemStart - 1, type, start, end);
    }
    QString textAfterOffset(
        int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        const auto [itemStart, itemEnd] = item(offset, type);
        if (itemEnd >= characterCount())
            return *start = *end = characterCount(), QString();
        return textAt(itemEnd, type, start, end);
    }
    QString textAtOffset(
        int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        return textAt(offset, type, start, end);
    }

    // EditableText
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString &text) override
    {
        box()->setSelection(start, end - start);
        box()->insert(text);
    }

private:
    TextBox *box() const { return static_cast<TextBox *>(widget()); }

    // The item of the given kind around an offset: a character, a word or a sentence from
    // the stretch around it; the one line is the whole text.
    std::pair<int, int> item(int offset, QAccessible::TextBoundaryType type) const
    {
        const QString &all = box()->text();
        const int size = int(all.size());
        offset = std::clamp(offset, 0, size);
        QTextBoundaryFinder::BoundaryType finderType;
        switch (type) {
        case QAccessible::CharBoundary:
            finderType = QTextBoundaryFinder::Grapheme;
            break;
        case QAccessible::WordBoundary:
            finderType = QTextBoundaryFinder::Word;
            break;
        case QAccessible::SentenceBoundary:
            finderType = QTextBoundaryFinder::Sentence;
            break;
        default:
            return {0, size};
        }
        const int from = std::max(0, offset - boundaryReach);
        const int to = std::min(size, offset + boundaryReach);
        QTextBoundaryFinder finder(finderType, all.constData() + from, to - from);
        finder.setPosition(offset - from);
        int start = offset;
        if (!finder.isAtBoundary() || offset == size) {
            const auto previous = finder.toPreviousBoundary();
            start = previous < 0 ? from : from + int(previous);
        }
        finder.setPosition(start - from);
        const auto next = finder.toNextBoundary();
        return {start, next < 0 ? to : from + int(next)};
    }

    QString textAt(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const
    {
        std::tie(*start, *end) = item(offset, type);
        return box()->text().mid(*start, *end - *start);
    }
};

QAccessibleInterface *textBoxFactory(const QString &, QObject *object)
{
    auto *box = qobject_cast<TextBox *>(object);
    return box ? new TextBoxAccessible(box) : nullptr;
}

} // namespace

void TextBox::installAccessibility()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(textBoxFactory); });
}

} // namespace textbox
