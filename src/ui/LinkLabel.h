#pragma once

#include <QLabel>

// A transparent link label: white and underlined, red while the mouse is over it or while it has
// the keyboard focus (Tab reaches it), a hand cursor, and a clicked() signal on a left-button
// release or on Enter or Space.
class LinkLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LinkLabel)

public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setHot(bool hot);

    bool m_pointerOver = false;
};
