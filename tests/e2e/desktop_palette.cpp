// Prints the colours the desktop gives a Qt program started in this environment, as the
// platform theme reads them: "ROLE R,G,B" a line for the text boxes' ground and text.

#include <QGuiApplication>
#include <QPalette>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QPalette palette = QGuiApplication::palette();
    for (const auto &[name, role] : {std::pair{"base", QPalette::Base}, {"text", QPalette::Text}}) {
        const QColor colour = palette.color(QPalette::Active, role);
        std::printf("%s %d,%d,%d\n", name, colour.red(), colour.green(), colour.blue());
    }
    return 0;
}
