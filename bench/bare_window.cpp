// The yardstick for start-up: a Qt Widgets window with one button and nothing else. Its
// ground is white, so that the benchmark can see when it has been drawn.

#include <QApplication>
#include <QPushButton>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::white);
    window.setPalette(palette);
    window.resize(342, 518);
    QPushButton button(QStringLiteral("Button"), &window);
    button.move(250, 80);
    window.show();
    return QApplication::exec();
}
