#pragma once

#include "popup/SlidePopupTypes.h"

#include <QColor>
#include <QImage>
#include <QSize>

class QPainter;

namespace popup {

// BlendColor for toolkit colours (system colours resolved to RGB first).
QColor blendColor(const QColor &c1, const QColor &c2, int position, int count);

// One line per pixel row (mbVertical) or column (mbHorizontal), from c1 on line 0 to c2 on
// the line just past the far edge.
void paintGradient(QPainter &painter, QSize area, const QColor &c1, const QColor &c2,
                   TOrientation orientation);

// A picture ready to be drawn with transparency: one with an alpha channel keeps it; an
// opaque one loses every pixel of its bottom-left pixel's colour.
QImage withAutoTransparency(const QImage &picture);

// Draws the (already transparent) picture over `area` starting at (0, 0): once unscaled,
// tiled, or stretched to fit. A picture with a device pixel ratio above 1 counts in points.
void drawBackgroundImage(QPainter &painter, const QImage &picture, TSlideImageDrawMethod method,
                         QSize area);

} // namespace popup
