#include "main/DesktopIntegration.h"

#include "main/DesktopNotifications.h"
#include "main/MainWindowDesign.h"
#include "popup/SlidePopUp.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>
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

} // namespace

DesktopIntegration::DesktopIntegration(QWidget *mainWindow, TSlidePopUp *popup, QLabel *trayHint,
                                       TrayProbe trayAvailable)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_popup(popup), m_trayHint(trayHint),
      m_trayAvailable(trayAvailable ? std::move(trayAvailable)
                                    : TrayProbe(&QSystemTrayIcon::isSystemTrayAvailable))
{
    PopupMenu1 = new QMenu(mainWindow);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N10 = PopupMenu1->addAction(QStringLiteral("系统主页"));
    N10->setObjectName(QStringLiteral("N10"));
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
    // Without a notification area the icon could not bring the window back: minimising keeps it
    // in the taskbar, and the footer says so once instead of a box at every minimise.
    if (m_trayAvailable())
        RzTrayIcon1->show();
    else
        m_trayHint->show();
    mainWindow->installEventFilter(this);
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
    RzTrayIcon1->setIcon(lost ? disconnectedIcon() : applicationIcon());
    refreshTrayHint();
}

void DesktopIntegration::refreshTrayHint()
{
    RzTrayIcon1->setToolTip(m_connectionLost
                                ? m_title + u'\n' + QStringLiteral("与服务器的连接中断，正在重试…")
                                : m_title);
}

bool DesktopIntegration::minimiseHidesToTray() const
{
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
    // Qt's Wayland window hands the compositor the token found here when it asks to be activated.
    if (nativeWayland() && !activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toLatin1());
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
