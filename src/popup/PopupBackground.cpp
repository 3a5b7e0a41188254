#include "popup/PopupBackground.h"

#include "popup/BlendColor.h"

#include <QPainter>

namespace popup {

static RgbColor toRgbColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return {rgb.red(), rgb.green(), rgb.blue()};
}

QColor blendColor(const QColor &c1, const QColor &c2, int position, int count)
{
    const RgbColor blended = BlendColor(toRgbColor(c1), toRgbColor(c2), position, count);
    return QColor(blended.red, blended.green, blended.blue);
}

void paintGradient(QPainter &painter, QSize area, const QColor &c1, const QColor &c2,
                   TOrientation orientation)
{
    const RgbColor from = toRgbColor(c1);
    const RgbColor to = toRgbColor(c2);
    const bool vertical = orientation == mbVertical;
    const int lines = vertical ? area.height() : area.width();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i <= lines; ++i) {
        const RgbColor c = BlendColor(from, to, i + 1, lines + 1);
        painter.setPen(QColor(c.red, c.green, c.blue));
        if (vertical)
            painter.drawLine(0, i, area.width(), i);
        else
            painter.drawLine(i, 0, i, area.height());
    }
    painter.restore();
}

QImage withAutoTransparency(const QImage &picture)
{
    if (picture.isNull() || picture.hasAlphaChannel())
        return picture;
    QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparentColor = keyed.pixel(0, keyed.height() - 1);
    for (int y = 0; y < keyed.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if (line[x] == transparentColor)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return keyed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void drawBackgroundImage(QPainter &painter, const QImage &picture, TSlideImageDrawMethod method,
                         QSize area)
{
    if (picture.isNull())
        return;
    switch (method) {
    case dmActualSize:
        painter.drawImage(0, 0, picture);
        break;
    case dmTile: {
        // In points: a picture made for a denser screen covers fewer points than it has pixels.
        const QSize tile = picture.deviceIndependentSize().toSize();
        for (int x = 0; x < area.width(); x += tile.width()) {
            for (int y = 0; y < area.height(); y += tile.height())
                painter.drawImage(x, y, picture);
        }
        break;
    }
    case dmFit:
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), area), picture);
        painter.restore();
        break;
    }
}

} // namespace popup
