#pragma once

#include <QTimer>
#include <QWidget>

// The notice line along the footer: bold text that crawls from right to left one pixel every
// 100 ms and blinks, 5 s shown, 5 s hidden. A new text starts at the left edge, readable at once;
// once it has left on the left it comes back in from the right edge.
class MarqueeStatus : public QWidget
{
    Q_OBJECT

public:
    explicit MarqueeStatus(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    int textOffset() const { return m_offset; }
    bool textShown() const { return m_blinkOn; }

    // One step of each animation (the timers call them; tests may too).
    void scrollStep();
    void blinkStep();

    static constexpr int scrollIntervalMs = 100;
    static constexpr int blinkIntervalMs = 5000;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int textWidth() const;

    QString m_text;
    int m_offset = 0;
    bool m_blinkOn = true;
    QTimer m_scrollTimer {this};
    QTimer m_blinkTimer {this};
};
