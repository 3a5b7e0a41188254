// Draws the skin's pictures: the date pickers' drop-down arrow at one and two pixels per point
// (Qt picks "@2x" on screens of a ratio above 1). Run it to regenerate resources/skin/:
//   skin_artwork <repo>/resources/skin
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

namespace {

constexpr int arrowWidth = 7; // points
constexpr int arrowHeight = 4;
const QColor arrowColor(0x3b, 0x58, 0x78);

// A downward triangle whose pixels are fully in or out (a pixel belongs to it when its centre
// does), so its edges stay sharp steps at every scale instead of a grey blur.
QImage downArrow(int scale)
{
    const double width = arrowWidth * scale;
    const double height = arrowHeight * scale;
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < image.height(); ++y) {
        const double halfWidth = width / 2 * (1.0 - (y + 0.5) / height);
        for (int x = 0; x < image.width(); ++x) {
            if (qAbs(x + 0.5 - width / 2) <= halfWidth)
                image.setPixelColor(x, y, arrowColor);
        }
    }
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_artwork RESOURCES_SKIN_DIR\n");
        return 2;
    }
    const QDir target(QString::fromLocal8Bit(argv[1]));
    for (const auto &[scale, name] :
         {std::pair {1, "down-arrow.png"}, std::pair {2, "down-arrow@2x.png"}}) {
        const QString path = target.filePath(QString::fromLatin1(name));
        if (!downArrow(scale).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
