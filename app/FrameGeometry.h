#pragma once

#include "app/WindowGeometry.h"

#include <QDeadlineTimer>
#include <QObject>

class QWidget;

namespace app {

// A top-level widget's frame. Sizes are the frame's: the title bar and borders count.
class FrameGeometry : public QObject, public WindowGeometry {
public:
    explicit FrameGeometry(QWidget *window);

    float Top() override;
    float Left() override;
    float Width() override;
    float Height() override;
    void setTop(float twips) override;
    void setLeft(float twips) override;
    void setWidth(float twips) override;
    void setHeight(float twips) override;
    float screenWidth() override;
    void show() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *window_;
    QDeadlineTimer shownUntil_;
    bool frameDue_ = false;
};

} // namespace app
