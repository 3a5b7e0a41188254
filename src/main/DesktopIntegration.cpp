#include "main/DesktopIntegration.h"

#include "main/AlertSound.h"
#include "main/DesktopNotifications.h"
#include "main/DesktopQuietState.h"
#include "main/MainWindowDesign.h"
#include "popup/SlidePopUp.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

namespace {

// The tray icon while the server cannot be reached: the same picture, greyed.
QIcon disconnectedIcon()
{
    const QIcon icon = applicationIcon();
    QIcon greyed;
    for (const QSize &size : icon.availableSizes())
        greyed.addPixmap(icon.pixmap(size, QIcon::Disabled));
    return greyed;
}

// The icon with a small crescent in its lower right corner: do-not-disturb is on.
QIcon quietIcon(const QIcon &icon)
{
    QIcon marked;
    for (const QSize &size : icon.availableSizes()) {
        QPixmap picture = icon.pixmap(size);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal mark = size.width() * 0.5;
        const QRectF moon(size.width() - mark, size.height() - mark, mark, mark);
        painter.setPen(QPen(QColor(40, 40, 60), std::max(1.0, mark / 10)));
        painter.setBrush(QColor(255, 214, 80));
        painter.drawEllipse(moon);
        QPainterPath disc;
        disc.addEllipse(moon);
        painter.setClipPath(disc);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 40, 60));
        painter.drawEllipse(
            moon.translated(mark * 0.3, -mark * 0.2).adjusted(0, 0, -mark * 0.1, 0));
        painter.end();
        marked.addPixmap(picture);
    }
    return marked;
}

} // namespace

DesktopIntegration::DesktopIntegration(QWidget *mainWindow, TSlidePopUp *popup,
                                       const MainFooter &footer, TrayProbe trayAvailable)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_popup(popup), m_trayHint(footer.trayHint),
      m_quietSwitch(footer.quietSwitch),
      m_trayAvailable(trayAvailable ? std::move(trayAvailable)
                                    : TrayProbe(&QSystemTrayIcon::isSystemTrayAvailable))
{
    PopupMenu1 = new QMenu(mainWindow);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N10 = PopupMenu1->addAction(QStringLiteral("系统主页"));
    N10->setObjectName(QStringLiteral("N10"));
    m_quietAction = PopupMenu1->addAction(QStringLiteral("免打扰"));
    m_quietAction->setObjectName(QStringLiteral("DoNotDisturb"));
    m_quietAction->setCheckable(true);
    connect(m_quietAction, &QAction::triggered, this, &DesktopIntegration::chooseDoNotDisturb);
    connect(m_quietSwitch, &QAbstractButton::clicked, this,
            &DesktopIntegration::chooseDoNotDisturb);
    N1 = PopupMenu1->addAction(QStringLiteral("退出系统"));
    N1->setObjectName(QStringLiteral("N1"));

    RzTrayIcon1 = new QSystemTrayIcon(applicationIcon(), mainWindow);
    RzTrayIcon1->setObjectName(QStringLiteral("RzTrayIcon1"));
    RzTrayIcon1->setContextMenu(PopupMenu1);
    connect(RzTrayIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    Q_EMIT restoreRequested();
            });
    mainWindow->installEventFilter(this);
    refreshQuietState();
    // Placed once the event loop runs (the login window is then on its way to the screen): asking
    // the desktop for its notification area is no part of the start.
    QMetaObject::invokeMethod(this, &DesktopIntegration::placeTrayIcon, Qt::QueuedConnection);
}

void DesktopIntegration::placeTrayIcon()
{
    if (m_trayPlaced)
        return;
    m_trayPlaced = true;
    // Without a notification area the icon could not bring the window back: minimising keeps it
    // in the taskbar, and the footer says so once instead of a box at every minimise.
    if (m_trayAvailable())
        RzTrayIcon1->show();
    else
        m_trayHint->show();
}

void DesktopIntegration::setTitle(const QString &title)
{
    m_title = title;
    refreshTrayHint();
}

void DesktopIntegration::showConnectionState(bool lost)
{
    if (lost == m_connectionLost)
        return;
    m_connectionLost = lost;
    refreshQuietState();
}

void DesktopIntegration::refreshTrayHint()
{
    QString hint = m_title;
    if (m_connectionLost)
        hint += u'\n' + QStringLiteral("与服务器的连接中断，正在重试…");
    if (m_quiet.chosen())
        hint += u'\n' + QStringLiteral("免打扰已开启：不弹出提示，不播放提示音");
    else if (m_quiet.followsDesktop())
        hint += u'\n' + QStringLiteral("桌面处于勿扰模式：不弹出提示，不播放提示音");
    RzTrayIcon1->setToolTip(hint);
}

void DesktopIntegration::refreshQuietState()
{
    const QIcon icon = m_connectionLost ? disconnectedIcon() : applicationIcon();
    RzTrayIcon1->setIcon(m_quiet.quiet() ? quietIcon(icon) : icon);
    m_quietAction->setChecked(m_quiet.chosen());
    m_quietSwitch->setChecked(m_quiet.chosen());
    refreshTrayHint();
}

void DesktopIntegration::chooseDoNotDisturb(bool on)
{
    quietEnded(m_quiet.choose(on));
}

void DesktopIntegration::followDesktopDoNotDisturb()
{
    if (m_desktopQuiet)
        return;
    m_desktopQuiet = new DesktopQuietState(this);
    connect(m_desktopQuiet, &DesktopQuietState::changed, this,
            [this](bool quiet) { quietEnded(m_quiet.setDesktopQuiet(quiet)); });
    m_desktopQuiet->start();
}

void DesktopIntegration::quietEnded(const QString &summary)
{
    refreshQuietState();
    // One popup for all that arrived meanwhile; the person is here, so no sound.
    if (!summary.isEmpty())
        notify(summary);
}

void DesktopIntegration::alert(PollStep::Kind kind, const QString &text)
{
    if (m_quiet.quiet()) {
        m_quiet.count(kind);
        return;
    }
    AlertSound::play();
    notify(text);
}

bool DesktopIntegration::minimiseHidesToTray()
{
    placeTrayIcon();
    return RzTrayIcon1->isVisible() && m_trayAvailable();
}

bool DesktopIntegration::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mainWindow && event->type() == QEvent::WindowStateChange
        && m_mainWindow->isMinimized() && minimiseHidesToTray()) {
        // Leave only the notification-area icon; hiding from inside the state change confuses
        // some window managers, so it happens right after, unless the window is back by then.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_mainWindow->isMinimized())
                    m_mainWindow->hide();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

bool DesktopIntegration::nativeWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void DesktopIntegration::bringToFront(const QString &activationToken)
{
    if (nativeWayland()) {
        // Qt's Wayland window hands the compositor the token found here when it asks to be
        // activated. Without one the compositor may refuse, and a client is not even told that
        // it was minimised; a window mapped anew comes back unminimised and is given the focus
        // as any new window is.
        if (!activationToken.isEmpty())
            qputenv("XDG_ACTIVATION_TOKEN", activationToken.toLatin1());
        else if (qEnvironmentVariableIsEmpty("XDG_ACTIVATION_TOKEN") && m_mainWindow->isVisible())
            m_mainWindow->hide();
    }
    m_mainWindow->setWindowState(m_mainWindow->windowState() & ~Qt::WindowMinimized);
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void DesktopIntegration::keepAbove()
{
    // Tell the window system directly: re-setting the widget's flags would hide and re-show it.
    m_mainWindow->overrideWindowFlags(m_mainWindow->windowFlags() | Qt::WindowStaysOnTopHint);
    if (QWindow *window = m_mainWindow->windowHandle())
        window->setFlag(Qt::WindowStaysOnTopHint, true);
}

bool DesktopIntegration::notificationsGoToTheDesktop()
{
    if (!nativeWayland())
        return false;
    if (!m_notifications) {
        m_notifications = new DesktopNotifications(this);
        connect(m_notifications, &DesktopNotifications::activated, this,
                &DesktopIntegration::notificationClicked);
    }
    return m_notifications->available();
}

void DesktopIntegration::notify(const QString &text)
{
    if (notificationsGoToTheDesktop()
        && m_notifications->notify(m_popup->title(), text, m_popup->timeOut() * 1000))
        return;
    m_popup->setText(text);
    m_popup->Show();
}

void DesktopIntegration::closeNotifications()
{
    if (m_notifications)
        m_notifications->closeAll();
    m_popup->CloseAll();
}
