#pragma once

#include <QLabel>

namespace app {

// Shows the Morse chart drawn for the screen the window is on: when the window moves to a
// screen of another scale, or the scale changes, the chart is drawn again at the new device
// pixel ratio rather than resampled.
class ChartLabel : public QLabel {
    Q_OBJECT

public:
    explicit ChartLabel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace app
