// Draws the program's icon from the Morse table at every side the icon theme and the
// window use, and as SVG, so that no icon can disagree with the codes the program sends.

#include "assets/Artwork.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

bool savePng(const QDir &folder, int side)
{
    QImage icon(side, side, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    {
        QPainter painter(&icon);
        assets::drawIcon(painter, side);
    }
    return icon.save(folder.filePath(QStringLiteral("%1.png").arg(side)));
}

bool saveSvg(const QDir &folder)
{
    QFile file(folder.filePath(QStringLiteral("scalable.svg")));
    const QByteArray svg = assets::iconSvg(32);
    return file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER SIDE...\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool saved = saveSvg(folder);
    for (int argument = 2; argument < argc; ++argument) {
        const int side = QByteArray(argv[argument]).toInt();
        saved = saved && side > 0 && savePng(folder, side);
    }
    if (!saved) {
        std::fprintf(stderr, "%s: cannot write the icons into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
