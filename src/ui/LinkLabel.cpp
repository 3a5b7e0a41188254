#include "ui/LinkLabel.h"

#include <QMouseEvent>

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setHot(false);
}

void LinkLabel::setHot(bool hot)
{
    setStyleSheet(QStringLiteral("background: transparent; color: %1;")
                      .arg(hot ? QStringLiteral("red") : QStringLiteral("white")));
}

void LinkLabel::enterEvent(QEnterEvent *event)
{
    setHot(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent *event)
{
    setHot(false);
    QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}
