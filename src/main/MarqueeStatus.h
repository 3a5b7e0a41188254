#pragma once

#include <QTimer>
#include <QWidget>

// The notice line along the footer: bold text that crawls from right to left one pixel every
// 100 ms and blinks, 5 s shown, 5 s hidden. A new text starts at the left edge, readable at once;
// once it has left on the left it comes back in from the right edge.
class MarqueeStatus final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MarqueeStatus)

public:
    explicit MarqueeStatus(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    int textOffset() const { return m_offset; }
    bool textShown() const { return m_blinkOn; }

    // The animations run only while the line can be seen: the main window shows it, and stops it
    // while minimised. A paused line resumes where it was.
    void setRunning(bool running);
    bool isRunning() const { return m_running; }

    // One step of each animation (the timers call them; tests may too).
    void scrollStep();
    void blinkStep();

    static constexpr int scrollIntervalMs = 100;
    static constexpr int blinkIntervalMs = 5000;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int textWidth() const;

    QString m_text;
    int m_offset = 0;
    bool m_blinkOn = true;
    bool m_running = false;
    int m_blinkRemainingMs = blinkIntervalMs;
    QTimer m_scrollTimer {this};
    QTimer m_blinkTimer {this};
};
