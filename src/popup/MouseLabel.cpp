#include "popup/MouseLabel.h"

#include <QFontMetricsF>
#include <QtMath>

TMouseLabel::TMouseLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(false);
}

void TMouseLabel::autoSize(int maxWidth)
{
    if (!wordWrap()) {
        adjustSize();
        return;
    }
    // QLabel paints plain text with exactly these flags, so the measured lines are the
    // painted ones.
    const int flags = int(alignment()) | Qt::TextWordWrap;
    const int margins = 2 * margin();
    const QRectF area(0, 0, qMax(1, maxWidth - margins), QWIDGETSIZE_MAX);
    const QRectF used = QFontMetricsF(font()).boundingRect(area, flags, text());
    resize(qMin(qCeil(used.width()) + margins, maxWidth), qCeil(used.height()) + margins);
}

void TMouseLabel::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    Q_EMIT OnMouseEnter(this);
}

void TMouseLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    Q_EMIT OnMouseLeave(this);
}
