#include "startup/CaretBlink.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>
#include <QTimer>

namespace {

constexpr int blinkWithoutInputMs = 10000;

class CaretBlinkLimit final : public QObject
{
public:
    explicit CaretBlinkLimit(QObject *application)
        : QObject(application), m_flashTime(QGuiApplication::styleHints()->cursorFlashTime())
    {
        m_still.setSingleShot(true);
        m_still.setInterval(blinkWithoutInputMs);
        connect(&m_still, &QTimer::timeout, this,
                [] { QGuiApplication::styleHints()->setCursorFlashTime(0); });
        m_still.start();
        application->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::InputMethod:
        case QEvent::FocusIn:
            if (QGuiApplication::styleHints()->cursorFlashTime() != m_flashTime)
                QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
            m_still.start();
            break;
        default:
            break;
        }
        return false;
    }

private:
    const int m_flashTime;
    QTimer m_still;
};

} // namespace

void limitCaretBlinking()
{
    new CaretBlinkLimit(QCoreApplication::instance()); // lives as long as the application
}
