#pragma once

#include "main/PollDecision.h"
#include "main/PopupTexts.h"
#include "ui/Unit3.h"

#include <QList>
#include <QWidget>

#include <functional>

class MarqueeStatus;
class QFrame;
class QLabel;
class QMenu;
class QAction;
class QSystemTrayIcon;
class QTimer;
class QToolButton;
class TSlidePopUp;

// The main window: created hidden at start-up, shown after a successful login. A picture header
// with the configurable toolbar and the user's name and level, one hosted content window below
// it, a scrolling notice along the footer, and an icon in the notification area that stands for
// the window while it is minimised. Its destruction deletes the user's login record.
class TFrmMain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmMain)

public:
    // Whether the desktop has a notification area now; empty asks the system.
    using TrayProbe = std::function<bool()>;

    explicit TFrmMain(QWidget *parent = nullptr, TrayProbe trayAvailable = {});
    ~TFrmMain() override;

    // The content window embedded now, or none.
    Tmain *currentContentWindow() const { return m_content.window(); }

    // Brings the window back from the notification area or from being minimised.
    void restoreApplication();

    // Poll tick: reads the change counters and, for each kind of content that moved, reloads the
    // window showing it and alerts the user. Failures end the tick silently.
    void Timer1Timer();
    // Login watch: ends the program with a message when another login took the account over. A
    // failing call is reported, one report at a time, and never counts as a takeover.
    void Timer2Timer();
    // A tick that fires while a service call waits for its answer does nothing.

    // The six popup actions of the poll tick.
    void hjgcanctdopen();
    void hjgcXGanddopen();
    void hjgcADDclose();
    void spzxaddandopen();
    void spzxXGanddopen();
    void spzxADDclose();

    // Whether the last poll could not reach the server (the tray icon then says so).
    bool connectionLost() const { return m_connectionLost; }

    // Whether minimising leaves only the notification-area icon: only while that icon is shown
    // and a notification area still exists. Otherwise the window stays in the taskbar.
    bool minimiseHidesToTray() const;

    // The toolbar button of position 1..11.
    QToolButton *toolbarButton(int position) const;

    // The notification popup the change polling raises.
    TSlidePopUp *SlidePopUp1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildDesign();
    QWidget *buildHeader();
    QWidget *buildFooter();
    void buildTrayIcon();

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void layoutToolbar();
    void showLevel();
    void startTimers();
    void stayOnTop();

    void contentButtonClick(int position); // RzToolButton1Click .. RzToolButton10Click
    void RzToolButton11Click();
    void N10Click();
    void N1Click();
    void Image1MouseMove(QMouseEvent *event);
    void SlidePopUp1Click();
    void runPollAction(PollAction action);
    void alertBulletin(BulletinKind kind);
    void reloadBulletinPage();
    void raisePopup(const QString &text);
    void showConnectionState(bool lost);
    void takeoverDetected();
    void markCurrentButton(int position);
    void endProgram();

    QFrame *Panel7 = nullptr;
    QLabel *Image1 = nullptr;
    QList<QToolButton *> m_toolbar; // by position
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *m_trayHint = nullptr; // says once that the window comes back from the taskbar
    QFrame *Panel8 = nullptr;
    QFrame *Panel9 = nullptr;
    MarqueeStatus *RzMarqueeStatus1 = nullptr;
    QSystemTrayIcon *RzTrayIcon1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N10 = nullptr;
    QAction *N1 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

    TrayProbe m_trayAvailable;
    QWidget *m_hostPanel = nullptr;
    CurrentContentWindow m_content;
    bool m_showSequenceRun = false;
    bool m_ending = false;
    bool m_connectionLost = false;
    bool m_watchReportOpen = false;
    QPoint m_dragOffset;
};
