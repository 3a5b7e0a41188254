#include "main/UnitMain.h"

#include "account/UnitXTSZ.h"
#include "app/ChangeCounters.h"
#include "app/LoginRecord.h"
#include "app/UnitGlouble.h"
#include "content/ContentWindowCatalog.h"
#include "content/UnitSMNC.h"
#include "main/AlertSound.h"
#include "main/LoginWatch.h"
#include "main/MarqueeStatus.h"
#include "main/PollTick.h"
#include "main/ShowSequence.h"
#include "main/SlidePopUp1Design.h"
#include "popup/SlidePopUp.h"
#include "service/AppError.h"
#include "service/CallInFlight.h"
#include "service/Conversions.h"
#include "skin/Skin.h"
#include "ui/ErrorReport.h"
#include "ui/ExternalBrowser.h"
#include "ui/MessageBoxes.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <limits>

namespace {

constexpr QSize windowSize(948, 695);
} // namespace

TFrmMain::TFrmMain(QWidget *parent, DesktopIntegration::TrayProbe trayAvailable)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    // No maximise hint: the window manager then neither shows a maximise button nor maximises
    // or restores the window on a double click on its title bar.
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("FrmMain"));
    setWindowIcon(applicationIcon());
    resize(windowSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    buildDesign();
    m_desktop = new DesktopIntegration(this, SlidePopUp1, m_design.footer, trayAvailable);
    connect(m_desktop, &DesktopIntegration::restoreRequested, this,
            [this] { restoreApplication(); });
    // A click on the desktop's notification is a click on a popup.
    connect(m_desktop, &DesktopIntegration::notificationClicked, this, &TFrmMain::SlidePopUp1Click);
    connect(m_desktop->homePageAction(), &QAction::triggered, this,
            [this] { runReportingFailures([this] { N10Click(); }); });
    connect(m_desktop->exitAction(), &QAction::triggered, this,
            [this] { runReportingFailures([this] { N1Click(); }); });
    FormCreate();
}

TFrmMain::~TFrmMain()
{
    FormDestroy();
}

void TFrmMain::buildDesign()
{
    m_design = buildMainDesign(this);
    m_design.header.Image1->installEventFilter(this); // the drag handle
    for (int position = 1; position <= toolbarEntryCount; ++position)
        connect(toolbarButton(position), &QToolButton::clicked, this, [this, position] {
            runReportingFailures([this, position] { toolbarButtonClick(position); });
        });
    connect(m_design.Timer1, &QTimer::timeout, this, &TFrmMain::Timer1Timer);
    connect(m_design.Timer2, &QTimer::timeout, this, &TFrmMain::Timer2Timer);

    SlidePopUp1 = new TSlidePopUp(this);
    SlidePopUp1->setObjectName(QStringLiteral("SlidePopUp1"));
    applySlidePopUp1Design(*SlidePopUp1);
    connect(SlidePopUp1, &TSlidePopUp::OnClick, this, [this] { SlidePopUp1Click(); });
}

void TFrmMain::FormCreate()
{
    m_hostPanel = m_design.Panel8;
}

void TFrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The show sequence belongs to the first show after login, not to every return from the tray.
    if (!m_showSequenceRun) {
        m_showSequenceRun = true;
        // The skin and the pictures come with the first show: nothing of the window is seen
        // during the login, and both cost the start-up.
        applySkin(this);
        loadDesignPictures(this);
        FormShow();
    }
}

void TFrmMain::FormShow()
{
    runDiscardingFailures([this] {
        smncOpen = wysmncOpen = wysmjmOpen = false;

        // If the server cannot be read right now, the window still comes up complete and the
        // first poll that reads the counters takes them as seen.
        const bool countersRead = runDiscardingFailures([] {
            LoadChangeCounters();
            storeAllLastSeenValues();
        });
        counterBaselineRequired = !countersRead;

        for (int position = 1; position <= toolbarEntryCount; ++position)
            toolbarButton(position)->setText(anmc(position));
        layoutToolbar();
        setWindowTitle(gpsysname);
        m_desktop->setTitle(gpsysname);
        m_design.footer.RzMarqueeStatus1->setText(syszjxx);
        m_design.header.Label8->setText(username);
        showLevel();
        startTimers();
        if (ifctzqd)
            m_desktop->keepAbove();
        m_desktop->followDesktopDoNotDisturb();
    });
}

void TFrmMain::layoutToolbar()
{
    for (int position = 1; position <= toolbarEntryCount; ++position)
        toolbarButton(position)->hide();
    const QList<ToolbarPlacement> shown = toolbarPlacements();
    for (const ToolbarPlacement &place : shown) {
        toolbarButton(place.position)->move(place.left, toolbarButtonTop);
        toolbarButton(place.position)->show();
    }
    // The first shown button is clicked, as the user would; but a window that fails to open
    // here is not reported: the main window comes up without it and the show goes on.
    if (!shown.isEmpty())
        runDiscardingFailures([&] { toolbarButtonClick(shown.first().position); });
}

void TFrmMain::showLevel()
{
    if (!yhqyhyfj) {
        m_design.header.Label6->hide();
        m_design.header.Label9->hide();
        return;
    }
    const QString name = levelName(UserDJ);
    if (!name.isEmpty())
        m_design.header.Label9->setText(name);
}

void TFrmMain::startTimers()
{
    const qint64 interval = qint64(khdsxsj) * 1000;
    m_design.Timer1->setInterval(
        int(std::clamp<qint64>(interval, 0, std::numeric_limits<int>::max())));
    // A zero interval means no polling at all (a zero-interval timer would fire without pause).
    if (interval > 0)
        m_design.Timer1->start();
    m_design.Timer2->start();
}

void TFrmMain::toolbarButtonClick(int position)
{
    // The buttons by toolbar position: RzToolButton8 stands second, and so on.
    switch (position) {
    case 1:
        RzToolButton1Click();
        break;
    case 2:
        RzToolButton8Click();
        break;
    case 3:
        RzToolButton9Click();
        break;
    case 4:
        RzToolButton3Click();
        break;
    case 5:
        RzToolButton2Click();
        break;
    case 6:
        RzToolButton4Click();
        break;
    case 7:
        RzToolButton5Click();
        break;
    case 8:
        RzToolButton6Click();
        break;
    case 9:
        RzToolButton7Click();
        break;
    case 10:
        RzToolButton10Click();
        break;
    case 11:
        RzToolButton11Click();
        break;
    default:
        break;
    }
}

void TFrmMain::RzToolButton11Click()
{
    openSettingsWindow(this, [] { AlertSound::play(); });
}

void TFrmMain::switchContentWindow(int position)
{
    const ContentWindowBuilder build = contentWindowBuilder(position);
    if (!build)
        return; // this position has no content window yet
    m_content.replace([&] { return build(HostedIn {m_hostPanel}); });
    markCurrentToolbarButton(m_design.header, m_content.window() ? position : 0);
}

void TFrmMain::N10Click()
{
    if (trimmedText(hqurl).isEmpty())
        return;
    openInBrowser(this, QUrl::fromUserInput(hqurl));
}

void TFrmMain::N1Click()
{
    if (showMessage(this, QStringLiteral("是否关闭本系统？"), QStringLiteral("提示"),
                    BoxIcon::Information, BoxButtons::OkCancel)
        == BoxAnswer::Ok)
        endProgram();
}

void TFrmMain::SlidePopUp1Click(const QString &activationToken)
{
    m_desktop->closeNotifications();
    restoreApplication(activationToken);
}

void TFrmMain::restoreApplication(const QString &activationToken)
{
    m_desktop->bringToFront(activationToken);
}

void TFrmMain::Timer1Timer()
{
    if (serviceCallInFlight())
        return;
    const TickResult tick = runPollTick({smncOpen, wysmncOpen, wysmjmOpen});
    m_desktop->showConnectionState(!tick.reachable);
    runDiscardingFailures([&] {
        for (const PollStep &step : tick.steps)
            showPollStep(step);
    });
}

void TFrmMain::showPollStep(const PollStep &step)
{
    switch (step.action) {
    case PollAction::hjgcanctdopen:
        return hjgcanctdopen(step);
    case PollAction::hjgcXGanddopen:
        return hjgcXGanddopen(step);
    case PollAction::hjgcADDclose:
        return hjgcADDclose(step);
    case PollAction::spzxaddandopen:
        return spzxaddandopen(step);
    case PollAction::spzxXGanddopen:
        return spzxXGanddopen(step);
    case PollAction::spzxADDclose:
        return spzxADDclose(step);
    default: // the bulletin kinds: reload the open bulletin page, alert the user
        if (step.reloadBulletinPage && currentContentWindow())
            currentContentWindow()->refreshPage();
        return alertUser(step);
    }
}

TFormSMNC &TFrmMain::alertWindow() const
{
    auto *window = qobject_cast<TFormSMNC *>(currentContentWindow());
    if (!window)
        throw AppError(QStringLiteral("预警管理窗口没有打开。"));
    return *window;
}

void TFrmMain::hjgcanctdopen(const PollStep &step)
{
    hjgcXGanddopen(step);
    alertUser(step);
}

void TFrmMain::hjgcXGanddopen(const PollStep &step)
{
    TFormSMNC &window = alertWindow();
    if (step.todaysAlerts)
        window.showTodaysAlerts(*step.todaysAlerts);
    if (step.latestAlerts)
        window.showLatestAlerts(*step.latestAlerts);
}

void TFrmMain::hjgcADDclose(const PollStep &step)
{
    alertUser(step);
}

void TFrmMain::spzxaddandopen(const PollStep &step)
{
    spzxXGanddopen(step);
    alertUser(step);
}

void TFrmMain::spzxXGanddopen(const PollStep &step)
{
    if (step.todaysLiveItems)
        alertWindow().showTodaysLiveItems(*step.todaysLiveItems);
}

void TFrmMain::spzxADDclose(const PollStep &step)
{
    alertUser(step);
}

void TFrmMain::alertUser(const PollStep &step)
{
    if (step.popupText)
        m_desktop->alert(step.kind(), *step.popupText);
}

void TFrmMain::Timer2Timer()
{
    if (serviceCallInFlight())
        return;
    const LoginWatchResult watch = watchLogin();
    switch (watch.verdict) {
    case LoginWatchVerdict::SameLogin:
        return;
    case LoginWatchVerdict::TakenOver:
        return takeoverDetected();
    case LoginWatchVerdict::Unreachable:
        // Ticks go on under the report's modal box: while one report is up, later failures add
        // none, so an hour without the server does not leave a pile of boxes.
        if (m_watchReportOpen)
            return;
        m_watchReportOpen = true;
        reportGeneralError(watch.failure);
        m_watchReportOpen = false;
        return;
    }
}

void TFrmMain::takeoverDetected()
{
    forcedOffline = true;
    m_design.Timer1->stop();
    m_design.Timer2->stop();
    restoreApplication();
    showMessage(this, QStringLiteral("您的用户在其它地方登录或被迫下线，如有疑问请联系管理员！"),
                QStringLiteral("系统错误！"), BoxIcon::Error);
    endProgram();
}

void TFrmMain::closeEvent(QCloseEvent *event)
{
    // The tray icon keeps the application alive after its last window closes, so closing the
    // main window ends the program explicitly; the destructor then deletes the login record.
    event->accept();
    endProgram();
}

void TFrmMain::endProgram()
{
    // Ending closes the windows, which comes back here: ask only once, or a second request
    // would still be pending when the destructor waits for its delete call.
    if (m_ending)
        return;
    m_ending = true;
    QCoreApplication::quit();
}

void TFrmMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_design.footer.RzMarqueeStatus1->setRunning(isVisible() && !isMinimized());
}

bool TFrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_design.header.Image1 && event->type() == QEvent::MouseButtonPress)
        m_drag.press(*static_cast<QMouseEvent *>(event));
    if (watched == m_design.header.Image1 && event->type() == QEvent::MouseMove) {
        Image1MouseMove(static_cast<QMouseEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmMain::Image1MouseMove(QMouseEvent *event)
{
    m_drag.move(*event);
}

void TFrmMain::FormDestroy()
{
    // After a takeover the login record belongs to the other login.
    LoginRecord::deleteLoginRow();
}
