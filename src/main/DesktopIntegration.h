#pragma once

#include <QObject>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QWidget;
class TSlidePopUp;

// Where the main window meets the desktop: the notification-area icon and its menu, the hint shown
// where there is no notification area, whether minimising hides the window to the tray, and how
// the user is told of news (the sliding popups). The main window asks this unit; no other file
// looks at the platform.
class DesktopIntegration final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopIntegration)

public:
    // Whether the desktop has a notification area now; empty asks the system.
    using TrayProbe = std::function<bool()>;

    // popup: the main window's SlidePopUp1; trayHint: the footer's label for a desktop without a
    // notification area.
    DesktopIntegration(QWidget *mainWindow, TSlidePopUp *popup, QLabel *trayHint,
                       TrayProbe trayAvailable = {});

    // The tray menu's entries "系统主页" (N10) and "退出系统" (N1); the main window handles them.
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
    bool minimiseHidesToTray() const;

    // Brings the main window back from the notification area or from being minimised, in front.
    void bringToFront();
    // Keeps the main window above other windows, without moving, resizing or activating it.
    void keepAbove();

    // Tells the user of news: the popup component with this text.
    void notify(const QString &text);
    // Closes every popup still open.
    void closeNotifications();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    // The user asked for the main window: a left click on the tray icon.
    void restoreRequested();

private:
    void refreshTrayHint();

    QWidget *m_mainWindow;
    TSlidePopUp *m_popup;
    QLabel *m_trayHint;
    TrayProbe m_trayAvailable;
    QSystemTrayIcon *RzTrayIcon1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N10 = nullptr;
    QAction *N1 = nullptr;
    QString m_title;
    bool m_connectionLost = false;
};
