#include "popup/PopupImage.h"

#include <QPaintEvent>
#include <QPainter>

PopupImage::PopupImage(QWidget *parent) : QWidget(parent) { }

void PopupImage::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void PopupImage::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void PopupImage::paintEvent(QPaintEvent *event)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setClipRegion(event->region());
    if (m_stretch) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), m_picture);
    } else {
        painter.drawPixmap(0, 0, m_picture);
    }
}
