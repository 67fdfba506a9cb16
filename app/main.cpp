#include "app/Form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    app::Form1 form;
    form.show();
    return QApplication::exec();
}
