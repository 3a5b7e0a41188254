#pragma once

#include <QLabel>

// A plain-text label that reports the mouse pointer entering and leaving it. Text is never
// interpreted: "&" and "<" show as themselves.
class TMouseLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMouseLabel)

public:
    explicit TMouseLabel(QWidget *parent = nullptr);

    // Auto-size: without word wrap the label takes its text's size; with word wrap the lines
    // break at maxWidth and the label takes the height of the wrapped text and the width of
    // its longest line (never more than maxWidth).
    void autoSize(int maxWidth);

Q_SIGNALS:
    void OnMouseEnter(TMouseLabel *label);
    void OnMouseLeave(TMouseLabel *label);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
};
