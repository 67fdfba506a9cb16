#include "app/CommandButton.h"

#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace app {

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    QStyle *classic = QStyleFactory::create(QStringLiteral("Windows"));
    classic->setParent(this);
    setStyle(classic);
    setAutoDefault(false);
}

void CommandButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown()) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
            style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, palette(),
        isEnabled(), caption, QPalette::ButtonText);
}

} // namespace app
