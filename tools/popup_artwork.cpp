// Draws the popup pictures kept in resources/popup: the 195 × 97 background of the main
// window's popup (made for red text), also at two pixels per point ("@2x") for denser screens,
// and the 138 × 3 "STRIP" under gradient popups.
// Usage: popup_artwork OUTPUT_DIR

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

namespace {

constexpr QSize backgroundSize(195, 97);
constexpr QSize stripSize(138, 3);
constexpr int headerHeight = 20;

void drawHeader(QPainter &p)
{
    QLinearGradient band(0, 0, 0, headerHeight);
    band.setColorAt(0.0, QColor(0xFF, 0xF1, 0xEE));
    band.setColorAt(1.0, QColor(0xFB, 0xD6, 0xD0));
    p.fillRect(QRect(0, 0, backgroundSize.width(), headerHeight), band);
    p.fillRect(QRect(0, 0, backgroundSize.width(), 1), QColor(0xFF, 0xF8, 0xF6));
    p.fillRect(QRect(0, headerHeight, backgroundSize.width(), 1), QColor(0xD9, 0x3A, 0x2E));
    p.fillRect(QRect(0, headerHeight + 1, backgroundSize.width(), 1), QColor(0xF4, 0xC2, 0xBB));
}

// A small rising-bars mark at the right end of the header.
void drawHeaderMark(QPainter &p)
{
    const QColor bar(0xD9, 0x3A, 0x2E);
    const int baseline = 15;
    const int heights[] = {4, 7, 10};
    int x = backgroundSize.width() - 22;
    for (const int h : heights) {
        p.fillRect(QRectF(x, baseline - h, 3, h), bar);
        x += 5;
    }
}

void drawBody(QPainter &p)
{
    const QRect body(0, headerHeight + 2, backgroundSize.width(),
                     backgroundSize.height() - headerHeight - 2);
    QLinearGradient wash(0, body.top(), 0, body.bottom());
    wash.setColorAt(0.0, QColor(0xFF, 0xF5, 0xF3));
    wash.setColorAt(1.0, Qt::white);
    p.fillRect(body, wash);
}

// A faint rising price line in the lower right; light enough that red text over it stays
// easy to read.
void drawWatermark(QPainter &p)
{
    const QPointF points[] = {{92, 88},  {108, 80}, {121, 84}, {136, 70},
                              {150, 74}, {163, 58}, {177, 62}, {192, 44}};
    QPainterPath line;
    line.moveTo(points[0]);
    for (const QPointF &point : points)
        line.lineTo(point);

    QPainterPath area = line;
    area.lineTo(points[std::size(points) - 1].x(), backgroundSize.height());
    area.lineTo(points[0].x(), backgroundSize.height());
    area.closeSubpath();
    QLinearGradient fade(0, 44, 0, backgroundSize.height());
    fade.setColorAt(0.0, QColor(0xF9, 0xDD, 0xD8, 150));
    fade.setColorAt(1.0, QColor(0xFF, 0xFF, 0xFF, 0));
    p.fillPath(area, fade);
    p.setPen(QPen(QColor(0xF2, 0xC4, 0xBD), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);
}

QImage background(int scale)
{
    QImage image(backgroundSize * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale); // the painter draws in points
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawBody(p);
    drawWatermark(p);
    drawHeader(p);
    drawHeaderMark(p);
    p.end();
    // The bottom-left pixel is the picture's transparent colour when it is drawn: keep it
    // the white the window is painted on.
    image.setPixel(0, image.height() - 1, qRgb(255, 255, 255));
    return image;
}

QImage strip()
{
    QImage image(stripSize, QImage::Format_RGB32);
    QPainter p(&image);
    const QColor rows[3][2] = {
        {QColor(0x8E, 0xC0, 0xF2), QColor(0xE6, 0xF2, 0xFD)},
        {QColor(0x2F, 0x7B, 0xCF), QColor(0xB3, 0xD5, 0xF5)},
        {QColor(0x1E, 0x5A, 0x9E), QColor(0x86, 0xB6, 0xE6)},
    };
    for (int y = 0; y < stripSize.height(); ++y) {
        QLinearGradient across(0, 0, stripSize.width(), 0);
        across.setColorAt(0.0, rows[y][0]);
        across.setColorAt(1.0, rows[y][1]);
        p.fillRect(QRect(0, y, stripSize.width(), 1), across);
    }
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: popup_artwork OUTPUT_DIR\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists()) {
        err << "popup_artwork: no such folder: " << out.path() << '\n';
        return 1;
    }
    const bool saved =
        background(1).save(out.filePath(QStringLiteral("slidepopup1-background.png")))
        && background(2).save(out.filePath(QStringLiteral("slidepopup1-background@2x.png")))
        && strip().save(out.filePath(QStringLiteral("strip.png")));
    if (!saved) {
        err << "popup_artwork: cannot write into " << out.path() << '\n';
        return 1;
    }
    return 0;
}
