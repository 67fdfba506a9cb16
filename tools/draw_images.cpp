// Draws the program's icon from the Morse table at every side the icon theme and the
// window use, and as SVG, so that no icon can disagree with the codes the program sends;
// and the chart at the device pixel ratios screens usually have, so that the window
// shows it at once, without drawing it or loading its fonts on the way to its first frame.

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

// The chart's grey levels, a byte a pixel, row after row: the program shows them as they
// are, with no image decoder to load on the way to its first frame.
bool saveChart(const QDir &folder, const QByteArray &ratio)
{
    bool isNumber = false;
    const qreal devicePixelRatio = ratio.toDouble(&isNumber);
    if (!isNumber || devicePixelRatio <= 0)
        return false;
    const QImage chart
        = assets::chartImage(devicePixelRatio).convertToFormat(QImage::Format_Grayscale8);
    QFile file(folder.filePath(QString::fromLatin1(ratio + ".grey")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int y = 0; y < chart.height(); ++y) {
        const auto *row = reinterpret_cast<const char *>(chart.constScanLine(y));
        if (file.write(row, chart.width()) != chart.width())
            return false;
    }
    return true;
}

} // namespace

// OUTPUT_FOLDER, then the icon's sides and the chart's ratios, each list after its name.
int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(
            stderr, "usage: %s OUTPUT_FOLDER [icons SIDE...] [charts RATIO...]\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool saved = true;
    QByteArray list;
    for (int argument = 2; argument < argc && saved; ++argument) {
        const QByteArray word(argv[argument]);
        if (word == "icons" || word == "charts") {
            list = word;
            saved = word != "icons" || saveSvg(folder);
        } else if (list == "icons") {
            saved = word.toInt() > 0 && savePng(folder, word.toInt());
        } else {
            saved = list == "charts" && saveChart(folder, word);
        }
    }
    if (!saved) {
        std::fprintf(stderr, "%s: cannot draw the pictures into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
