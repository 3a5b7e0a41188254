#pragma once

#include "main/DesktopIntegration.h"
#include "main/MainWindowDesign.h"
#include "ui/Unit3.h"
#include "ui/WindowDrag.h"

#include <QWidget>

class QTimer;
class QToolButton;
class TFormSMNC;
class TSlidePopUp;
struct PollStep;

// The main window: created hidden at start-up, shown after a successful login. A picture header
// with the configurable toolbar and the user's name and level, one hosted content window below
// it, a scrolling notice along the footer, and an icon in the notification area that stands for
// the window while it is minimised. Its destruction deletes the user's login record.
class TFrmMain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmMain)

public:
    explicit TFrmMain(QWidget *parent = nullptr, DesktopIntegration::TrayProbe trayAvailable = {});
    ~TFrmMain() override;

    // The content window embedded now, or none.
    Tmain *currentContentWindow() const { return m_content.window(); }

    // Brings the window back from the notification area or from being minimised, in front; an
    // activation token from whoever asked lets a Wayland compositor give it the focus.
    void restoreApplication(const QString &activationToken = QString());

    // Poll tick: reads the change counters and, for each kind of content that moved, reloads the
    // window showing it and alerts the user. Failures end the tick silently.
    void Timer1Timer();
    // Login watch: ends the program with a message when another login took the account over. A
    // failing call is reported, one report at a time, and never counts as a takeover.
    void Timer2Timer();
    // A tick that fires while a service call waits for its answer does nothing.

    // The six popup actions of the poll tick, each showing what the tick fetched for it.
    void hjgcanctdopen(const PollStep &step);
    void hjgcXGanddopen(const PollStep &step);
    void hjgcADDclose(const PollStep &step);
    void spzxaddandopen(const PollStep &step);
    void spzxXGanddopen(const PollStep &step);
    void spzxADDclose(const PollStep &step);

    // Whether the last poll could not reach the server (the tray icon then says so).
    bool connectionLost() const { return m_desktop->connectionLost(); }
    // Whether minimising leaves only the notification-area icon.
    bool minimiseHidesToTray() const { return m_desktop->minimiseHidesToTray(); }

    // The toolbar button of position 1..11.
    QToolButton *toolbarButton(int position) const
    {
        return m_design.header.toolbar.at(position - 1);
    }

    // The notification popup the change polling raises.
    TSlidePopUp *SlidePopUp1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildDesign();
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void layoutToolbar();
    void showLevel();
    void startTimers();

    // Toolbar positions 1 to 10 switch the content window; 11 opens the settings.
    void toolbarButtonClick(int position);
    void RzToolButton1Click() { switchContentWindow(1); }
    void RzToolButton8Click() { switchContentWindow(2); }
    void RzToolButton9Click() { switchContentWindow(3); }
    void RzToolButton3Click() { switchContentWindow(4); }
    void RzToolButton2Click() { switchContentWindow(5); }
    void RzToolButton4Click() { switchContentWindow(6); }
    void RzToolButton5Click() { switchContentWindow(7); }
    void RzToolButton6Click() { switchContentWindow(8); }
    void RzToolButton7Click() { switchContentWindow(9); }
    void RzToolButton10Click() { switchContentWindow(10); }
    void RzToolButton11Click();
    void switchContentWindow(int position);

    void N10Click();
    void N1Click();
    void Image1MouseMove(QMouseEvent *event);
    // A click on a popup (or the desktop's notification): all close, the window comes back.
    void SlidePopUp1Click(const QString &activationToken = QString());

    void showPollStep(const PollStep &step);
    TFormSMNC &alertWindow() const;
    void alertUser(const PollStep &step);
    void takeoverDetected();
    void endProgram();

    MainDesign m_design;
    DesktopIntegration *m_desktop = nullptr;
    WindowDrag m_drag {this};

    QWidget *m_hostPanel = nullptr;
    CurrentContentWindow m_content;
    bool m_showSequenceRun = false;
    bool m_ending = false;
    bool m_watchReportOpen = false;
};
