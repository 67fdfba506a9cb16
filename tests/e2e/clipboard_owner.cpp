// Puts a file's text on the clipboard of the X display and keeps it there until ended,
// so that the end-to-end tests can paste what no keyboard could type.

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    QGuiApplication::clipboard()->setText(QString::fromUtf8(file.readAll()));
    std::printf("ready\n");
    std::fflush(stdout);
    return QGuiApplication::exec();
}
