// Draws the main window's pictures: the header and footer strips, the eleven 35 x 35 toolbar icons
// and the application icon; all but the icon also at two pixels per point ("@2x", which Qt picks on
// denser screens). Run it to regenerate resources/main/ after changing the artwork:
//   main_artwork <repo>/resources/main
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

constexpr double tileSize = 35.0;
const QColor glyphColor(255, 255, 255);

struct IconDesign
{
    QColor light;
    QColor dark;
    std::function<void(QPainter &, const QColor &cut)> glyph;
};

QPen glyphPen(double width)
{
    return QPen(glyphColor, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void bell(QPainter &p, const QColor &)
{
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColor);
    QPainterPath body;
    body.moveTo(10.5, 24.0);
    body.lineTo(12.3, 21.6);
    body.cubicTo(12.3, 14.5, 13.6, 10.6, 17.5, 10.6);
    body.cubicTo(21.4, 10.6, 22.7, 14.5, 22.7, 21.6);
    body.lineTo(24.5, 24.0);
    body.closeSubpath();
    p.drawPath(body);
    p.drawEllipse(QPointF(17.5, 9.4), 1.6, 1.6);
    p.drawEllipse(QPointF(17.5, 26.0), 2.2, 2.0);
}

void bulletin(QPainter &p, const QColor &cut)
{
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColor);
    QPainterPath page;
    page.moveTo(11.0, 8.5);
    page.lineTo(20.5, 8.5);
    page.lineTo(25.0, 13.0);
    page.lineTo(25.0, 26.5);
    page.arcTo(QRectF(22.0, 24.5, 3.0, 3.0), 0, -90);
    page.lineTo(11.0, 27.5);
    page.arcTo(QRectF(9.5, 24.5, 3.0, 3.0), 270, -90);
    page.lineTo(9.5, 10.0);
    page.arcTo(QRectF(9.5, 8.5, 3.0, 3.0), 180, -90);
    page.closeSubpath();
    p.drawPath(page);
    p.setBrush(cut.lighter(115));
    QPainterPath fold;
    fold.moveTo(20.5, 8.5);
    fold.lineTo(20.5, 13.0);
    fold.lineTo(25.0, 13.0);
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(QPen(cut, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.8, 16.0), QPointF(21.8, 16.0));
    p.drawLine(QPointF(12.8, 19.5), QPointF(21.8, 19.5));
    p.drawLine(QPointF(12.8, 23.0), QPointF(18.5, 23.0));
}

void lock(QPainter &p, const QColor &cut)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(glyphPen(2.4));
    QPainterPath shackle;
    shackle.moveTo(13.2, 16.0);
    shackle.lineTo(13.2, 13.0);
    shackle.arcTo(QRectF(13.2, 8.4, 8.6, 8.6), 180, -180);
    shackle.lineTo(21.8, 16.0);
    p.drawPath(shackle);
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColor);
    p.drawRoundedRect(QRectF(9.8, 15.5, 15.4, 12.0), 2.2, 2.2);
    p.setBrush(cut);
    p.drawEllipse(QPointF(17.5, 20.3), 1.8, 1.8);
    p.drawRoundedRect(QRectF(16.8, 20.5, 1.4, 4.2), 0.6, 0.6);
}

void candles(QPainter &p, const QColor &)
{
    p.setPen(glyphPen(1.4));
    p.drawLine(QPointF(11.5, 12.5), QPointF(11.5, 26.0));
    p.drawLine(QPointF(17.5, 8.5), QPointF(17.5, 23.5));
    p.drawLine(QPointF(23.5, 13.0), QPointF(23.5, 27.0));
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColor);
    p.drawRoundedRect(QRectF(9.5, 15.5, 4.0, 7.5), 0.8, 0.8);
    p.drawRoundedRect(QRectF(15.5, 11.0, 4.0, 9.5), 0.8, 0.8);
    p.drawRoundedRect(QRectF(21.5, 16.5, 4.0, 7.0), 0.8, 0.8);
}

void newspaper(QPainter &p, const QColor &cut)
{
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColor);
    p.drawRoundedRect(QRectF(8.5, 9.5, 18.0, 16.5), 2.2, 2.2);
    p.setBrush(cut);
    p.drawRoundedRect(QRectF(11.0, 12.2, 5.6, 4.8), 0.8, 0.8);
    p.setPen(QPen(cut, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18.8, 13.0), QPointF(23.8, 13.0));
    p.drawLine(QPointF(18.8, 16.2), QPointF(23.8, 16.2));
    p.drawLine(QPointF(11.2, 19.6), QPointF(23.8, 19.6));
    p.drawLine(QPointF(11.2, 22.8), QPointF(20.5, 22.8));
}

void gauge(QPainter &p, const QColor &)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(glyphPen(2.6));
    p.drawArc(QRectF(8.8, 10.8, 17.4, 17.4), 0 * 16, 180 * 16);
    p.setPen(glyphPen(1.4));
    for (int tick = 1; tick < 4; ++tick) {
        const double angle = qDegreesToRadians(180.0 - 45.0 * tick);
        p.drawLine(QPointF(17.5 + 5.2 * std::cos(angle), 19.5 - 5.2 * std::sin(angle)),
                   QPointF(17.5 + 6.4 * std::cos(angle), 19.5 - 6.4 * std::sin(angle)));
    }
    p.setPen(glyphPen(2.2));
    p.drawLine(QPointF(17.5, 19.5), QPointF(22.0, 14.2));
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColor);
    p.drawEllipse(QPointF(17.5, 19.5), 2.4, 2.4);
    p.drawRoundedRect(QRectF(10.0, 23.2, 15.0, 2.6), 1.2, 1.2);
}

void folder(QPainter &p, const QColor &cut)
{
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColor);
    QPainterPath tab;
    tab.addRoundedRect(QRectF(8.5, 10.0, 8.0, 5.0), 1.6, 1.6);
    p.drawPath(tab);
    p.drawRoundedRect(QRectF(8.5, 12.5, 18.0, 14.0), 2.2, 2.2);
    p.setPen(QPen(cut, 1.3));
    p.drawLine(QPointF(9.5, 16.0), QPointF(25.5, 16.0));
    p.setPen(QPen(cut, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.0, 21.5), QPointF(19.0, 21.5));
}

void coins(QPainter &p, const QColor &cut)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(glyphPen(2.0));
    p.drawEllipse(QPointF(21.0, 14.5), 5.6, 5.6);
    p.setPen(Qt::NoPen);
    p.setBrush(cut);
    p.drawEllipse(QPointF(15.0, 19.5), 8.6, 8.6);
    p.setBrush(glyphColor);
    p.drawEllipse(QPointF(15.0, 19.5), 7.4, 7.4);
    p.setPen(QPen(cut, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    // A yuan sign.
    p.drawLine(QPointF(12.0, 15.0), QPointF(15.0, 19.0));
    p.drawLine(QPointF(18.0, 15.0), QPointF(15.0, 19.0));
    p.drawLine(QPointF(15.0, 19.0), QPointF(15.0, 24.5));
    p.drawLine(QPointF(12.2, 19.6), QPointF(17.8, 19.6));
    p.drawLine(QPointF(12.2, 22.2), QPointF(17.8, 22.2));
}

void research(QPainter &p, const QColor &cut)
{
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColor);
    p.drawRoundedRect(QRectF(8.5, 7.5, 13.5, 18.0), 2.0, 2.0);
    p.setPen(QPen(cut, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11.0, 11.5), QPointF(19.5, 11.5));
    p.drawLine(QPointF(11.0, 14.8), QPointF(19.5, 14.8));
    p.drawLine(QPointF(11.0, 18.1), QPointF(15.0, 18.1));
    // Magnifier over the page's corner.
    p.setPen(QPen(cut, 4.6));
    p.setBrush(cut);
    p.drawEllipse(QPointF(21.0, 21.0), 4.6, 4.6);
    p.setPen(glyphPen(2.2));
    p.setBrush(cut.lighter(112));
    p.drawEllipse(QPointF(21.0, 21.0), 4.4, 4.4);
    p.setPen(glyphPen(2.8));
    p.drawLine(QPointF(24.3, 24.3), QPointF(27.2, 27.2));
}

void pie(QPainter &p, const QColor &)
{
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColor);
    p.drawPie(QRectF(8.5, 10.0, 17.0, 17.0), 90 * 16, 270 * 16);
    QColor soft = glyphColor;
    soft.setAlpha(190);
    p.setBrush(soft);
    p.drawPie(QRectF(10.3, 8.2, 17.0, 17.0), 0 * 16, 90 * 16);
}

void gear(QPainter &p, const QColor &cut)
{
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColor);
    const QPointF centre(17.5, 17.5);
    for (int tooth = 0; tooth < 8; ++tooth) {
        p.save();
        p.translate(centre);
        p.rotate(45.0 * tooth);
        p.drawRoundedRect(QRectF(-2.0, -10.2, 4.0, 5.0), 0.9, 0.9);
        p.restore();
    }
    p.drawEllipse(centre, 7.2, 7.2);
    p.setBrush(cut);
    p.drawEllipse(centre, 2.9, 2.9);
}

void drawTile(QPainter &p, const IconDesign &design, double borderWidth = 1.0)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(0.5, 0.5, tileSize - 1.0, tileSize - 1.0);
    QLinearGradient fill(tile.topLeft(), tile.bottomRight());
    fill.setColorAt(0.0, design.light);
    fill.setColorAt(1.0, design.dark);
    p.setPen(QPen(design.dark.darker(125), borderWidth));
    p.setBrush(fill);
    p.drawRoundedRect(tile, 8.0, 8.0);

    // A soft gloss over the upper half.
    QLinearGradient gloss(0, 1, 0, tileSize / 2);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(1.5, 1.5, tileSize - 3.0, tileSize / 2), 7.0, 7.0);

    // The glyph with a faint shadow below it.
    QImage shadow(static_cast<int>(tileSize) * 4, static_cast<int>(tileSize) * 4,
                  QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    {
        QPainter s(&shadow);
        s.setRenderHint(QPainter::Antialiasing);
        s.scale(4, 4);
        design.glyph(s, design.dark);
        s.setCompositionMode(QPainter::CompositionMode_SourceIn);
        s.fillRect(QRectF(0, 0, tileSize, tileSize), QColor(0, 0, 0, 60));
    }
    p.drawImage(QRectF(0, 0.9, tileSize, tileSize), shadow);
    design.glyph(p, design.dark);
}

// An empty picture of `size` points at `scale` pixels per point; painters draw on it in points.
QImage canvas(QSize size, int scale, QImage::Format format)
{
    QImage image(size * scale, format);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage toolbarIcon(const IconDesign &design, int scale)
{
    QImage image =
        canvas(QSize(int(tileSize), int(tileSize)), scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    drawTile(p, design);
    return image;
}

QList<IconDesign> toolbarDesigns()
{
    return {
        {QColor(255, 138, 76), QColor(226, 62, 52), bell}, // 预警管理
        {QColor(54, 205, 190), QColor(18, 143, 131), bulletin}, // 私募内参
        {QColor(160, 120, 255), QColor(104, 64, 208), lock}, // 私募绝密
        {QColor(255, 96, 104), QColor(206, 36, 60), candles}, // 实时行情
        {QColor(84, 180, 255), QColor(30, 120, 220), newspaper}, // 新闻资讯
        {QColor(255, 196, 80), QColor(236, 134, 0), gauge}, // 价值评估
        {QColor(80, 208, 128), QColor(28, 152, 82), folder}, // 个股档案
        {QColor(246, 190, 70), QColor(214, 128, 14), coins}, // 大盘资金
        {QColor(120, 140, 255), QColor(62, 84, 214), research}, // 研究报告
        {QColor(64, 210, 232), QColor(20, 146, 182), pie}, // 综合报告
        {QColor(146, 166, 190), QColor(84, 108, 138), gear}, // 系统设置
    };
}

QImage applicationIcon()
{
    const int size = 256;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / tileSize, size / tileSize);
    drawTile(p, {QColor(64, 150, 246), QColor(18, 70, 150), bell}, 0.25);
    // A rising line in the notice orange across the lower right.
    p.setPen(QPen(QColor(247, 155, 72), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath rise;
    rise.moveTo(18.5, 29.0);
    rise.lineTo(22.0, 26.0);
    rise.lineTo(24.5, 27.5);
    rise.lineTo(29.5, 22.0);
    p.drawPath(rise);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(247, 155, 72));
    QPainterPath head;
    head.moveTo(30.8, 20.4);
    head.lineTo(30.4, 24.2);
    head.lineTo(27.0, 21.2);
    head.closeSubpath();
    p.drawPath(head);
    return image;
}

QImage header(int scale)
{
    const int width = 948;
    const int height = 90;
    const QRect whole(0, 0, width, height);
    QImage image = canvas(whole.size(), scale, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(22, 86, 158));
    sky.setColorAt(0.55, QColor(14, 61, 119));
    sky.setColorAt(1.0, QColor(9, 42, 86));
    p.fillRect(whole, sky);

    // A broad light from the upper left.
    QRadialGradient glow(QPointF(180, -40), 420);
    glow.setColorAt(0.0, QColor(120, 190, 255, 70));
    glow.setColorAt(1.0, QColor(120, 190, 255, 0));
    p.fillRect(whole, glow);

    // Faint market line with its area, stretched along the whole header.
    QPainterPath line;
    QPainterPath area;
    const double values[] = {62, 58, 64, 55, 57, 49, 53, 46, 50, 41, 47, 44, 38, 43, 35, 40,
                             33, 37, 30, 36, 31, 27, 33, 28, 24, 30, 26, 21, 27, 23, 19};
    const int points = int(std::size(values));
    for (int i = 0; i < points; ++i) {
        const QPointF point(i * (width / double(points - 1)), values[i] + 8);
        if (i == 0) {
            line.moveTo(point);
            area.moveTo(point.x(), height);
            area.lineTo(point);
        } else {
            line.lineTo(point);
            area.lineTo(point);
        }
    }
    area.lineTo(width, height);
    area.closeSubpath();
    QLinearGradient areaFill(0, 20, 0, height);
    areaFill.setColorAt(0.0, QColor(255, 255, 255, 26));
    areaFill.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillPath(area, areaFill);
    p.setPen(QPen(QColor(150, 205, 255, 60), 1.4));
    p.drawPath(line);

    // Fine dotted grid.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 14));
    for (int y = 12; y < height; y += 16)
        for (int x = 8; x < width; x += 16)
            p.drawEllipse(QPointF(x, y), 0.8, 0.8);

    // Edges: a light line on top, a darker one and an orange accent at the bottom.
    p.setPen(QPen(QColor(255, 255, 255, 50), 1));
    p.drawLine(0, 0, width, 0);
    p.setPen(QPen(QColor(5, 26, 56), 1));
    p.drawLine(0, height - 2, width, height - 2);
    p.setPen(QPen(QColor(247, 155, 72, 170), 1));
    p.drawLine(0, height - 1, width, height - 1);
    return image;
}

// A footer-wide band, shaded from top to bottom.
QImage footerGradient(const QColor &top, const QColor &bottom, int scale)
{
    const QRect area(0, 0, 948, 6);
    QImage image = canvas(area.size(), scale, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient fill(0, 0, 0, 6);
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    p.fillRect(area, fill);
    return image;
}

QImage footerStrip(int scale)
{
    QImage image = footerGradient(QColor(40, 72, 114), QColor(16, 32, 54), scale);
    QPainter p(&image);
    p.setPen(QColor(247, 155, 72, 150));
    p.drawLine(0, 0, 948, 0);
    return image;
}

QImage footerBase(int scale)
{
    return footerGradient(QColor(16, 32, 54), QColor(8, 18, 32), scale);
}

bool save(const QImage &image, const QString &path)
{
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: main_artwork RESOURCES_MAIN_DIR\n");
        return 2;
    }
    const QDir target(QString::fromLocal8Bit(argv[1]));
    if (!target.mkpath(QStringLiteral("toolbar"))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = save(applicationIcon(), target.filePath(QStringLiteral("tipdesk.png")));
    const QList<IconDesign> designs = toolbarDesigns();
    for (const auto &[scale, suffix] : {std::pair {1, ""}, std::pair {2, "@2x"}}) {
        const auto name = [suffix](const QString &base) -> QString {
            return base + QLatin1String(suffix) + QStringLiteral(".png");
        };
        ok = ok && save(header(scale), target.filePath(name(QStringLiteral("header"))))
            && save(footerStrip(scale), target.filePath(name(QStringLiteral("footer-strip"))))
            && save(footerBase(scale), target.filePath(name(QStringLiteral("footer-base"))));
        for (int position = 1; ok && position <= designs.size(); ++position) {
            ok = save(toolbarIcon(designs.at(position - 1), scale),
                      target.filePath(name(
                          QStringLiteral("toolbar/%1").arg(position, 2, 10, QLatin1Char('0')))));
        }
    }
    return ok ? 0 : 1;
}
