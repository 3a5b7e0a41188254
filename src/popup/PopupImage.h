#pragma once

#include <QPixmap>
#include <QWidget>

// The image control of a popup window: shows a picture at its top-left corner, or stretched
// over the whole control. Without a picture it is invisible but still takes mouse clicks.
class PopupImage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PopupImage)

public:
    explicit PopupImage(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }
    void setStretch(bool stretch);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    bool m_stretch = false;
};
