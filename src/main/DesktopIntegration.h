#pragma once

#include "main/DoNotDisturb.h"

#include <QObject>

#include <functional>

class DesktopNotifications;
class DesktopQuietState;
class QAbstractButton;
class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QWidget;
class TSlidePopUp;
struct MainFooter;

// Where the main window meets the desktop: the notification-area icon and its menu, the hint shown
// where there is no notification area, whether minimising hides the window to the tray, bringing
// the window to the front, and how the user is told of news. The main window asks this unit; no
// other file looks at the platform.
//
// The news route: the sliding popups of the popup component, placed in the work area's corner by
// the client itself. On native Wayland a client cannot place its windows, so there the desktop's
// notification service shows them, when one answers; otherwise the popups stay.
class DesktopIntegration final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopIntegration)

public:
    // Whether the desktop has a notification area now; empty asks the system.
    using TrayProbe = std::function<bool()>;

    // popup: the main window's SlidePopUp1; footer: its hint for a desktop without a notification
    // area and its do-not-disturb switch.
    DesktopIntegration(QWidget *mainWindow, TSlidePopUp *popup, const MainFooter &footer,
                       TrayProbe trayAvailable = {});

    // The tray menu's entries "系统主页" (N10) and "退出系统" (N1); the main window handles them.
    // Between them "免打扰", handled here.
    QAction *homePageAction() const { return N10; }
    QAction *exitAction() const { return N1; }

    // The title the tray icon's hint shows (the system's name).
    void setTitle(const QString &title);
    // While the server cannot be reached the icon is greyed and its hint says so.
    void showConnectionState(bool lost);
    bool connectionLost() const { return m_connectionLost; }

    // Whether minimising leaves only the notification-area icon: only while that icon is shown and
    // a notification area still exists. Otherwise the window stays in the taskbar. The main window
    // minimised under that rule is hidden.
    bool minimiseHidesToTray();

    // Brings the main window back from the notification area or from being minimised, in front.
    // On Wayland the compositor gives the focus only with an activation token from whoever asked
    // (the notification service, a second start's launcher).
    void bringToFront(const QString &activationToken = QString());
    // Keeps the main window above other windows, without moving, resizing or activating it.
    void keepAbove();

    // Tells the user of news of this kind: the alert sound and a popup (or the desktop's
    // notification) with the text; while do-not-disturb is on, only counts it.
    void alert(PollStep::Kind kind, const QString &text);
    // Do-not-disturb, as the person chose it; the desktop's own state is followed once the main
    // window shows.
    void chooseDoNotDisturb(bool on);
    const DoNotDisturb &doNotDisturb() const { return m_quiet; }
    void followDesktopDoNotDisturb();

    // A popup (or the desktop's notification) with this text, without sound.
    void notify(const QString &text);
    // Closes every popup and notification still open.
    void closeNotifications();

    // The platform facts the choices rest on.
    static bool nativeWayland();
    // Whether news goes to the desktop's notification service (asks it the first time).
    bool notificationsGoToTheDesktop();

    // Shows the tray icon, or the footer's hint where there is no notification area; done once,
    // as soon as the event loop runs, or earlier when asked.
    void placeTrayIcon();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    // The user asked for the main window: a left click on the tray icon.
    void restoreRequested();
    // The user clicked one of the desktop's notifications.
    void notificationClicked(const QString &activationToken);

private:
    void refreshTrayHint();
    void refreshQuietState();
    void quietEnded(const QString &summary);

    QWidget *m_mainWindow;
    TSlidePopUp *m_popup;
    QLabel *m_trayHint;
    QAbstractButton *m_quietSwitch;
    TrayProbe m_trayAvailable;
    DoNotDisturb m_quiet;
    DesktopQuietState *m_desktopQuiet = nullptr;
    DesktopNotifications *m_notifications = nullptr; // made on first use, only on native Wayland
    QSystemTrayIcon *RzTrayIcon1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N10 = nullptr;
    QAction *N1 = nullptr;
    QAction *m_quietAction = nullptr;
    QString m_title;
    bool m_connectionLost = false;
    bool m_trayPlaced = false;
};
