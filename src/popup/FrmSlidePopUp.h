#pragma once

#include "popup/SlidePopupSettings.h"

#include <QPointer>
#include <QWidget>

class QFrame;
class QTimer;
class PopupImage;
class TMouseLabel;
class TSlidePopUp;

// One notification window of a TSlidePopUp: slides out of the taskbar's edge, waits, slides
// back and frees itself. It never takes the keyboard focus or activation. Only the component
// makes these; tests reach them through TSlidePopUp::openWindows().
class TfrmSlidePopUp final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmSlidePopUp)

public:
    ~TfrmSlidePopUp() override;

    // The taskbar edge the window was placed against and the stack offset it was placed at.
    int edge() const { return m_edge; }
    int stackOffset() const { return m_stackOffset; }
    // False while an application click handler runs: a close then only hides the window.
    bool freeOnClose() const { return m_freeOnClose; }

    static QColor BlendColor(const QColor &c1, const QColor &c2, int position, int count);

public Q_SLOTS:
    // 25 ms slide-in step; the last one starts the time-out.
    void tmrScrollTimer();
    // The time-out: starts the slide-out.
    void tmrExitTimer();
    // 25 ms slide-out step; the last one closes the window.
    void tmrscrollDownTimer();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // The time-out waits while the pointer is over the window, and goes on when it leaves.
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    friend class TSlidePopUp;
    TfrmSlidePopUp(TSlidePopUp *component, const SlidePopupSettings &settings);

    void Display();
    void CenterText();
    void paintContent();
    void setFrame(const QRect &frame);
    void stopTimers();
    // Starts the time-out, or keeps it waiting while the pointer is over the window.
    void startTimeOut();
    // A close request from the component or the window's own code.
    void closeWindow();
    // Frees the window, or with FreeOnClose off only leaves it hidden.
    void handleClose();
    // Called by the component when it goes away first: the window quietly disappears.
    void abandon();

    void lblTextClick();
    void lblTextMouseUp(Qt::MouseButton button);
    void lblTitleMouseUp(Qt::MouseButton button);
    void imgIconMouseUp(Qt::MouseButton button);
    void imgGradientMouseUp(Qt::MouseButton button);
    void lblTextMouseEnter();
    void lblTextMouseLeave();
    // Raises OnClick with the component as Sender, then closes the window.
    void raiseComponentClickAndClose();
    // Runs an application event handler with FreeOnClose off, so that a CloseAll from inside
    // it only hides this window instead of freeing it under the click code.
    template<typename Handler> void runClickHandler(Handler &&handler);

    QPointer<TSlidePopUp> m_component;
    const SlidePopupSettings m_settings;
    int m_edge = 0;
    int m_stackOffset = 0;
    bool m_freeOnClose = false;
    bool m_released = false;
    bool m_textPressed = false;
    bool m_pointerOver = false;
    int m_pausedTimeOutMs = -1; // the time-out left while paused, or -1
    QRect m_frame;

    QFrame *pnlBorder = nullptr;
    PopupImage *imgGradient = nullptr;
    PopupImage *imgIcon = nullptr;
    TMouseLabel *lblText = nullptr;
    TMouseLabel *lblTitle = nullptr;
    QTimer *tmrExit = nullptr;
    QTimer *tmrScroll = nullptr;
    QTimer *tmrScrollDown = nullptr;
    PopupImage *imgStrip = nullptr;
};
