#include "main/MarqueeStatus.h"

#include <QPainter>

#include <algorithm>

MarqueeStatus::MarqueeStatus(QWidget *parent) : QWidget(parent)
{
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QColor(247, 155, 72));
    setPalette(colours);

    connect(&m_scrollTimer, &QTimer::timeout, this, &MarqueeStatus::scrollStep);
    connect(&m_blinkTimer, &QTimer::timeout, this, [this] {
        m_blinkTimer.setInterval(blinkIntervalMs); // after a resume with the rest of a period
        blinkStep();
    });
}

void MarqueeStatus::setRunning(bool running)
{
    if (running == m_running)
        return;
    m_running = running;
    if (running) {
        m_scrollTimer.start(scrollIntervalMs);
        m_blinkTimer.start(m_blinkRemainingMs);
    } else {
        m_blinkRemainingMs = std::max(0, m_blinkTimer.remainingTime());
        m_scrollTimer.stop();
        m_blinkTimer.stop();
    }
}

void MarqueeStatus::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    setRunning(!window()->isMinimized());
}

void MarqueeStatus::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    setRunning(false);
}

void MarqueeStatus::setText(const QString &text)
{
    m_text = text;
    m_offset = 0;
    update();
}

int MarqueeStatus::textWidth() const
{
    return fontMetrics().horizontalAdvance(m_text);
}

void MarqueeStatus::scrollStep()
{
    --m_offset;
    if (m_offset + textWidth() < 0)
        m_offset = width();
    update();
}

void MarqueeStatus::blinkStep()
{
    m_blinkOn = !m_blinkOn;
    update();
}

void MarqueeStatus::paintEvent(QPaintEvent *)
{
    if (!m_blinkOn || m_text.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(m_offset, 0, textWidth() + 1, height()),
                     Qt::AlignLeft | Qt::AlignVCenter, m_text);
}
