#include "ui/LinkLabel.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
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
    m_pointerOver = true;
    setHot(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent *event)
{
    m_pointerOver = false;
    setHot(hasFocus());
    QLabel::leaveEvent(event);
}

void LinkLabel::focusInEvent(QFocusEvent *event)
{
    setHot(true);
    QLabel::focusInEvent(event);
}

void LinkLabel::focusOutEvent(QFocusEvent *event)
{
    setHot(m_pointerOver);
    QLabel::focusOutEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        Q_EMIT clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}
