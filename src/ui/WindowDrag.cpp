#include "ui/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

void WindowDrag::press(const QMouseEvent &event)
{
    m_grabOffset = event.globalPosition().toPoint() - m_window->frameGeometry().topLeft();
    m_systemMove = false;
}

void WindowDrag::move(const QMouseEvent &event)
{
    if (!(event.buttons() & Qt::LeftButton) || m_systemMove)
        return;
    QWindow *window = m_window->windowHandle();
    if (window && window->startSystemMove()) {
        m_systemMove = true;
        return;
    }
    m_window->move(event.globalPosition().toPoint() - m_grabOffset);
}
