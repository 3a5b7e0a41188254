#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

// Moving a window by dragging a picture on it, as a title bar would: the window system's own move
// where it offers one (it then follows the pointer until the button is released), otherwise the
// window is moved by hand with every mouse move.
class WindowDrag
{
public:
    explicit WindowDrag(QWidget *window) : m_window(window) { }

    // A button went down on the handle: where the window was grabbed.
    void press(const QMouseEvent &event);
    // The mouse moved over the handle; only a held left button drags.
    void move(const QMouseEvent &event);

private:
    QWidget *m_window;
    QPoint m_grabOffset;
    bool m_systemMove = false;
};
