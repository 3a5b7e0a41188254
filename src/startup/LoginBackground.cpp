#include "startup/LoginBackground.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <optional>

namespace {
const QString uiFont = QStringLiteral("WenQuanYi Micro Hei");

QFont font(int pixelSize, bool bold = false)
{
    QFont f(uiFont);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// A rising candlestick chart across the left panel: the product's mark.
void paintChart(QPainter &p, const QRectF &area)
{
    static const double closes[] = {0.30, 0.34, 0.29, 0.38, 0.45, 0.41, 0.52,
                                    0.58, 0.55, 0.66, 0.72, 0.69, 0.80};
    const int count = int(std::size(closes));
    const double step = area.width() / count;
    double previous = 0.26;
    QPainterPath trend;
    for (int i = 0; i < count; ++i) {
        const double open = previous;
        const double close = closes[i];
        const double high = std::max(open, close) + 0.04;
        const double low = std::min(open, close) - 0.03;
        const double x = area.left() + step * i + step / 2;
        auto y = [&](double v) { return area.bottom() - v * area.height(); };
        const bool up = close >= open;
        const QColor colour = up ? QColor(255, 96, 80) : QColor(64, 200, 140);
        p.setPen(QPen(colour, 1.2));
        p.drawLine(QPointF(x, y(high)), QPointF(x, y(low)));
        p.setBrush(up ? QColor(255, 96, 80, 200) : colour);
        p.drawRect(QRectF(x - step * 0.28, y(std::max(open, close)), step * 0.56,
                          std::max(1.5, std::abs(y(open) - y(close)))));
        if (i == 0)
            trend.moveTo(x, y(close) - 14);
        else
            trend.lineTo(x, y(close) - 14);
        previous = close;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 214, 102, 220), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trend);
}

void paintHotSpotButton(QPainter &p, const QRect &r, const QString &text, const QColor &top,
                        const QColor &bottom)
{
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(130), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(Qt::white);
    p.setFont(font(13, true));
    p.drawText(r, Qt::AlignCenter, text);
}
} // namespace

QPixmap paintLoginBackground(const QString &systemName, qreal density)
{
    const QRect area(0, 0, 500, 330);
    QPixmap picture(area.size() * density);
    picture.setDevicePixelRatio(density);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // Deep navy ground with a warm glow behind the chart.
    QLinearGradient ground(0, 0, 0, 330);
    ground.setColorAt(0, QColor(18, 38, 74));
    ground.setColorAt(1, QColor(9, 20, 44));
    p.fillRect(area, ground);
    QRadialGradient glow(QPointF(120, 190), 220);
    glow.setColorAt(0, QColor(200, 60, 50, 90));
    glow.setColorAt(1, QColor(200, 60, 50, 0));
    p.fillRect(area, glow);

    // Title bar strip with the system's name and the close hot spot (446, 0, 43 x 20).
    p.fillRect(QRect(0, 0, 500, 26), QColor(0, 0, 0, 70));
    p.setPen(QColor(235, 240, 250));
    p.setFont(font(13, true));
    p.drawText(QRect(12, 0, 420, 26), Qt::AlignVCenter | Qt::AlignLeft,
               systemName.isEmpty() ? QStringLiteral("股票预警系统") : systemName);
    p.setPen(QPen(QColor(230, 230, 235), 1.6));
    p.drawLine(QPointF(461, 5), QPointF(471, 15));
    p.drawLine(QPointF(471, 5), QPointF(461, 15));

    // Left: product mark.
    p.setPen(QColor(255, 255, 255));
    p.setFont(font(24, true));
    p.drawText(QRect(24, 48, 220, 34), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("实时预警"));
    p.setPen(QColor(180, 196, 224));
    p.setFont(font(12));
    p.drawText(QRect(26, 84, 220, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("预警股票 · 实盘资讯 · 私募公告"));
    paintChart(p, QRectF(26, 130, 200, 150));

    // Right: the login card.
    const QRectF card(244, 104, 234, 180);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.setBrush(QColor(255, 255, 255, 26));
    p.drawRoundedRect(card, 8, 8);
    p.setPen(QColor(255, 255, 255));
    p.setFont(font(14, true));
    p.drawText(QRect(254, 80, 200, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("用户登录"));

    p.setFont(font(12));
    p.setPen(QColor(220, 228, 242));
    p.drawText(QRect(250, 135, 62, 21), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("用户名："));
    p.drawText(QRect(250, 169, 62, 21), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("密  码："));
    // White frames under the two edits (317, 135 / 317, 169, 123 x 21).
    p.setPen(QPen(QColor(120, 150, 200), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(315.5, 133.5, 126, 24), 3, 3);
    p.drawRoundedRect(QRectF(315.5, 167.5, 126, 24), 3, 3);

    // Link row: separator between "主 页" (288) and "QQ联系" (392).
    p.setPen(QColor(150, 170, 205));
    p.drawLine(QPointF(360, 224), QPointF(360, 234));

    paintHotSpotButton(p, QRect(261, 244, 84, 25), QStringLiteral("登  录"), QColor(236, 84, 64),
                       QColor(196, 40, 30));
    paintHotSpotButton(p, QRect(371, 244, 86, 25), QStringLiteral("注册账号"), QColor(70, 130, 210),
                       QColor(40, 90, 170));

    p.setPen(QColor(120, 140, 175));
    p.setFont(font(11));
    p.drawText(QRect(0, 292, 489, 16), Qt::AlignCenter, QStringLiteral("投资有风险，入市需谨慎"));
    return picture;
}

namespace {

// Changed with every change of what paintLoginBackground draws, so an old picture is not shown.
constexpr int faceVersion = 1;

QString keptFacePath(const QString &systemName, qreal density)
{
    const QByteArray key = QByteArray::number(faceVersion) + '|' + QByteArray::number(density) + '|'
        + systemName.toUtf8();
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
        + QStringLiteral("/login-face-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
}

// The picture is kept as its raw pixels: reading them is a copy, where decoding a PNG of the same
// face took a few milliseconds.
constexpr QImage::Format keptFormat = QImage::Format_ARGB32_Premultiplied;

std::optional<QPixmap> readKeptFace(const QString &path, const QSize &size)
{
    QFile file(path);
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    if (!file.open(QIODevice::ReadOnly) || file.size() != bytes)
        return std::nullopt;
    QImage image(size, keptFormat);
    if (image.sizeInBytes() != bytes
        || file.read(reinterpret_cast<char *>(image.bits()), bytes) != bytes)
        return std::nullopt;
    return QPixmap::fromImage(image);
}

void keepFace(const QString &path, const QPixmap &face)
{
    const QImage image = face.toImage().convertToFormat(keptFormat);
    if (image.bytesPerLine() != image.width() * 4)
        return;
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)
        && file.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes())
            == image.sizeInBytes())
        file.commit();
}

} // namespace

QPixmap loginBackground(const QString &systemName, qreal density)
{
    const QString path = keptFacePath(systemName, density);
    const QSize pixels = (QSizeF(500, 330) * density).toSize();
    if (auto kept = readKeptFace(path, pixels)) {
        kept->setDevicePixelRatio(density);
        return *kept;
    }
    const QPixmap painted = paintLoginBackground(systemName, density);
    if (painted.size() != pixels)
        return painted;
    // Kept once the event loop runs: writing it is no part of the start either.
    QTimer::singleShot(0, [painted, path] { keepFace(path, painted); });
    return painted;
}
