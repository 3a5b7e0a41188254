#include "popup/FrmSlidePopUp.h"

#include "popup/MouseLabel.h"
#include "popup/NoTaskbarEntry.h"
#include "popup/PopupBackground.h"
#include "popup/PopupImage.h"
#include "popup/PopupSlide.h"
#include "popup/PopupText.h"
#include "popup/SlidePopUp.h"
#include "ui/PngPicture.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int slideStepMs = 25;
constexpr int stripHeight = 3;
constexpr int titleTop = 8;
constexpr int titleLeftWithoutIcon = 8;
constexpr int titleLeftBesideIcon = 48;

void applyPopupFont(QWidget *label, const PopupFont &popupFont)
{
    label->setFont(popupFont.font);
    if (!popupFont.color.isValid())
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, popupFont.color);
    label->setPalette(palette);
}

Qt::Alignment toQtAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taLeftJustify:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter:
        break;
    }
    return Qt::AlignHCenter | Qt::AlignVCenter;
}

QTimer *makeTimer(QObject *parent, const char *name, int intervalMs)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    return timer;
}

} // namespace

TfrmSlidePopUp::TfrmSlidePopUp(TSlidePopUp *component, const SlidePopupSettings &settings)
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                  | Qt::WindowDoesNotAcceptFocus),
      m_component(component), m_settings(settings)
{
    setObjectName(QStringLiteral("frmSlidePopUp"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);

    pnlBorder = new QFrame(this);
    pnlBorder->setObjectName(QStringLiteral("pnlBorder"));
    pnlBorder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlBorder->setLineWidth(2);
    // The classic lowered bevel: button shadow above and left, highlight below and right,
    // whatever the widget style's own shades are.
    QPalette bevel = pnlBorder->palette();
    bevel.setColor(QPalette::Dark, QColor(0xA0, 0xA0, 0xA0));
    bevel.setColor(QPalette::Light, QColor(0xFF, 0xFF, 0xFF));
    pnlBorder->setPalette(bevel);

    imgGradient = new PopupImage(pnlBorder);
    imgGradient->setObjectName(QStringLiteral("imgGradient"));

    imgIcon = new PopupImage(pnlBorder);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setGeometry(3, 8, 32, 32);

    lblText = new TMouseLabel(pnlBorder);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setWordWrap(true);
    lblText->setAlignment(toQtAlignment(m_settings.textAlignment));
    lblText->setGeometry(9, 49, 3, 13);

    lblTitle = new TMouseLabel(pnlBorder);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->move(titleLeftBesideIcon, titleTop);

    tmrExit = makeTimer(this, "tmrExit", 10000);
    tmrScroll = makeTimer(this, "tmrScroll", slideStepMs);
    tmrScrollDown = makeTimer(this, "tmrScrollDown", slideStepMs);
    connect(tmrExit, &QTimer::timeout, this, &TfrmSlidePopUp::tmrExitTimer);
    connect(tmrScroll, &QTimer::timeout, this, &TfrmSlidePopUp::tmrScrollTimer);
    connect(tmrScrollDown, &QTimer::timeout, this, &TfrmSlidePopUp::tmrscrollDownTimer);

    for (QWidget *clickable :
         {static_cast<QWidget *>(lblText), static_cast<QWidget *>(lblTitle),
          static_cast<QWidget *>(imgIcon), static_cast<QWidget *>(imgGradient)})
        clickable->installEventFilter(this);
    connect(lblText, &TMouseLabel::OnMouseEnter, this, &TfrmSlidePopUp::lblTextMouseEnter);
    connect(lblText, &TMouseLabel::OnMouseLeave, this, &TfrmSlidePopUp::lblTextMouseLeave);
}

TfrmSlidePopUp::~TfrmSlidePopUp()
{
    // Freed without a close (its owner went away): keep the component's count right.
    if (!m_released && m_component)
        m_component->windowReleased(this);
}

QColor TfrmSlidePopUp::BlendColor(const QColor &c1, const QColor &c2, int position, int count)
{
    return popup::blendColor(c1, c2, position, count);
}

void TfrmSlidePopUp::Display()
{
    const popup::DesktopGeometry desk = m_component->desktop();
    const QSize full(m_settings.width, m_settings.height);
    pnlBorder->setGeometry(QRect(QPoint(0, 0), full));
    // The content keeps its full size at the window's top-left corner from now on, so the
    // animation's size changes clip it rather than squeeze it.
    imgGradient->setGeometry(pnlBorder->contentsRect());

    const QRect inner = pnlBorder->contentsRect();
    imgStrip = new PopupImage(pnlBorder);
    imgStrip->setObjectName(QStringLiteral("imgStrip"));
    imgStrip->setStretch(true);
    imgStrip->setGeometry(inner.x(), inner.y() + inner.height() - stripHeight, inner.width(),
                          stripHeight);
    lblText->setCursor(m_settings.textCursor);

    m_edge = popup::placementEdge(popup::TaskbarEdge(desk));
    m_freeOnClose = true;
    const popup::StackPlacement placement {popup::WorkArea::fromRect(desk.workArea),
                                           m_component->popupStartX(), m_component->popupStartY(),
                                           m_component->cascadeOffset()};
    m_stackOffset = placement.offset;
    const QRect placed(popup::popupPosition(m_edge, full, placement), full);

    applyPopupFont(lblTitle, m_settings.titleFont);
    lblTitle->setText(m_settings.title);
    lblTitle->autoSize(full.width());

    winId(); // the native window exists, still hidden, before it is painted and placed
    // A notification window: compositors give it their drop shadow. Qt applies the X11 window
    // type only to a native window that already exists.
    setAttribute(Qt::WA_X11NetWmWindowTypeNotification);
    keepOutOfTaskbar(this);
    paintContent();

    tmrExit->setInterval(m_settings.timeOut * 1000);
    if (m_settings.options.contains(spAllowScroll)) {
        setFrame(popup::collapsedFrame(popup::placementEdge(m_component->TaskbarEdge()), placed));
        tmrScroll->start();
    } else {
        setFrame(placed);
        startTimeOut();
    }
    show();

    applyPopupFont(lblText, m_settings.font);
    CenterText();
}

void TfrmSlidePopUp::paintContent()
{
    // Painted at the screen's pixel density; the painter works in window pixels.
    const qreal density = devicePixelRatioF();
    QPixmap canvas(imgGradient->size() * density);
    canvas.setDevicePixelRatio(density);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    const QImage &background = m_component->backgroundImage();
    if (background.isNull()) {
        // A missing strip picture just leaves the strip empty.
        imgStrip->setPicture(pngPicture(QStringLiteral(":/popup/strip.png")));
        popup::paintGradient(painter, imgGradient->size(), m_settings.gradientColor1,
                             m_settings.gradientColor2, m_settings.gradientOrientation);
    } else {
        popup::drawBackgroundImage(painter, popup::withAutoTransparency(background),
                                   m_settings.backgroundDrawMethod, imgGradient->size());
    }
    const QImage &icon = m_component->iconBitmap();
    if (icon.isNull()) {
        lblTitle->move(titleLeftWithoutIcon, titleTop);
    } else {
        painter.drawImage(m_component->iconLeft(), m_component->iconTop(),
                          popup::withAutoTransparency(icon));
        lblTitle->move(titleLeftBesideIcon, titleTop);
    }
    painter.end();
    imgGradient->setPicture(canvas);
}

void TfrmSlidePopUp::CenterText()
{
    lblText->setText(popup::withLineBreaks(m_settings.text));
    const int panelWidth = pnlBorder->width();
    lblText->autoSize(panelWidth - 15);
    lblText->move(popup::centeredPosition(panelWidth, lblText->width()),
                  popup::centeredPosition(pnlBorder->height(), lblText->height()));
}

void TfrmSlidePopUp::setFrame(const QRect &frame)
{
    m_frame = frame;
    setGeometry(frame);
}

void TfrmSlidePopUp::stopTimers()
{
    tmrScroll->stop();
    tmrExit->stop();
    tmrScrollDown->stop();
}

void TfrmSlidePopUp::abandon()
{
    stopTimers();
    m_released = true;
    hide();
    deleteLater();
}

void TfrmSlidePopUp::tmrScrollTimer()
{
    if (!m_component)
        return;
    const popup::SlideInTarget target {
        QSize(m_settings.width, m_settings.height), m_settings.scrollSpeed,
        popup::StackPlacement {popup::WorkArea::fromRect(m_component->desktop().workArea),
                               m_component->popupStartX(), m_component->popupStartY(),
                               m_stackOffset}};
    const popup::SlideStep step = popup::slideInStep(m_edge, m_frame, target);
    setFrame(step.frame);
    if (step.finished) {
        tmrScroll->stop();
        startTimeOut();
    }
}

void TfrmSlidePopUp::startTimeOut()
{
    if (m_pointerOver)
        m_pausedTimeOutMs = tmrExit->interval();
    else
        tmrExit->start();
}

void TfrmSlidePopUp::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    m_pointerOver = true;
    if (tmrExit->isActive()) {
        m_pausedTimeOutMs = tmrExit->remainingTime();
        tmrExit->stop();
    }
}

void TfrmSlidePopUp::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_pointerOver = false;
    if (m_pausedTimeOutMs >= 0) {
        tmrExit->start(m_pausedTimeOutMs);
        m_pausedTimeOutMs = -1;
    }
}

void TfrmSlidePopUp::tmrExitTimer()
{
    tmrExit->stop();
    tmrScrollDown->start();
}

void TfrmSlidePopUp::tmrscrollDownTimer()
{
    const popup::SlideStep step = popup::slideOutStep(m_edge, m_frame, m_settings.scrollSpeed);
    if (step.finished) {
        tmrScrollDown->stop();
        closeWindow();
        return;
    }
    setFrame(step.frame);
}

bool TfrmSlidePopUp::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick
        && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);

    const auto *mouse = static_cast<QMouseEvent *>(event);
    const Qt::MouseButton button = mouse->button();
    if (type != QEvent::MouseButtonRelease) {
        if (watched == lblText && button == Qt::LeftButton)
            m_textPressed = true;
        return true;
    }

    if (watched == lblText) {
        // A click is a left press and release both on the text; the release handler runs
        // after it, as it does for any button.
        const bool clicked = button == Qt::LeftButton && m_textPressed
            && lblText->rect().contains(mouse->position().toPoint());
        if (button == Qt::LeftButton)
            m_textPressed = false;
        if (clicked)
            lblTextClick();
        lblTextMouseUp(button);
    } else if (watched == lblTitle) {
        lblTitleMouseUp(button);
    } else if (watched == imgIcon) {
        imgIconMouseUp(button);
    } else if (watched == imgGradient) {
        imgGradientMouseUp(button);
    }
    return true;
}

void TfrmSlidePopUp::closeEvent(QCloseEvent *event)
{
    event->accept();
    handleClose();
}

void TfrmSlidePopUp::closeWindow()
{
    // Qt sends no close event to a hidden window, such as one that a CloseAll from inside a
    // click handler has hidden; that one is released here directly.
    if (isVisible())
        close();
    else
        handleClose();
}

void TfrmSlidePopUp::handleClose()
{
    stopTimers();
    if (!m_freeOnClose || m_released)
        return; // only hidden: the click code closes it again once its handler is done
    m_released = true;
    if (m_component)
        m_component->windowReleased(this);
    deleteLater();
}

template<typename Handler> void TfrmSlidePopUp::runClickHandler(Handler &&handler)
{
    m_freeOnClose = false;
    if (m_component)
        handler(*m_component);
    m_freeOnClose = true;
    closeWindow();
}

void TfrmSlidePopUp::lblTextClick()
{
    runClickHandler([this](TSlidePopUp &component) {
        if (!m_settings.options.contains(spAllowHyperlink)) {
            Q_EMIT component.OnClick(this);
            return;
        }
        const QPointer<TSlidePopUp> alive(&component);
        Q_EMIT component.OnURLClick(this, m_settings.url);
        if (alive && alive->options().contains(spAutoOpenURL))
            QDesktopServices::openUrl(QUrl::fromUserInput(m_settings.url));
    });
}

void TfrmSlidePopUp::lblTextMouseUp(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        raiseComponentClickAndClose();
}

void TfrmSlidePopUp::lblTitleMouseUp(Qt::MouseButton)
{
    raiseComponentClickAndClose();
}

void TfrmSlidePopUp::imgIconMouseUp(Qt::MouseButton)
{
    raiseComponentClickAndClose();
}

void TfrmSlidePopUp::imgGradientMouseUp(Qt::MouseButton)
{
    raiseComponentClickAndClose();
}

void TfrmSlidePopUp::raiseComponentClickAndClose()
{
    runClickHandler([](TSlidePopUp &component) { Q_EMIT component.OnClick(&component); });
}

void TfrmSlidePopUp::lblTextMouseEnter()
{
    if (!m_settings.options.contains(spAllowHyperlink))
        return;
    applyPopupFont(lblText, m_settings.hoverFont);
    CenterText();
}

void TfrmSlidePopUp::lblTextMouseLeave()
{
    if (!m_settings.options.contains(spAllowHyperlink))
        return;
    applyPopupFont(lblText, m_settings.font);
    CenterText();
}
