#include "main/UnitMain.h"

#include "account/UnitXTSZ.h"
#include "app/ChangeCounters.h"
#include "app/LoginRecord.h"
#include "app/UnitGlouble.h"
#include "content/ContentQueries.h"
#include "content/ContentWindowCatalog.h"
#include "content/GridFill.h"
#include "content/UnitSMNC.h"
#include "main/AlertSound.h"
#include "main/DesignPicture.h"
#include "main/MarqueeStatus.h"
#include "main/SlidePopUp1Design.h"
#include "popup/SlidePopUp.h"
#include "service/AppError.h"
#include "service/CallInFlight.h"
#include "service/Conversions.h"
#include "skin/Skin.h"
#include "ui/ErrorReport.h"
#include "ui/MessageBoxes.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <limits>

namespace {

// The toolbar by position: button, designed caption and designed left edge. The icons are
// ":/main/toolbar/NN.png" by position.
struct ToolbarSlot
{
    const char *buttonName;
    const char16_t *designedCaption;
    int designedLeft;
};

constexpr ToolbarSlot toolbarSlots[toolbarEntryCount] = {
    {"RzToolButton1", u"预警管理", 8},    {"RzToolButton8", u"私募内参", 79},
    {"RzToolButton9", u"私募绝密", 150},  {"RzToolButton3", u"实时行情", 220},
    {"RzToolButton2", u"新闻资讯", 290},  {"RzToolButton4", u"价值评估", 360},
    {"RzToolButton5", u"个股档案", 430},  {"RzToolButton6", u"大盘资金", 500},
    {"RzToolButton7", u"研究报告", 570},  {"RzToolButton10", u"研究报告", 640},
    {"RzToolButton11", u"系统设置", 710},
};

constexpr int settingsPosition = 11;
constexpr int windowWidth = 948;
constexpr int windowHeight = 695;
constexpr int headerHeight = 90;
constexpr int footerHeight = 33;
constexpr int buttonTop = 14;
constexpr QSize buttonSize(68, 64);
constexpr int toolbarStart = 9;
constexpr int labelColumn = 789;
constexpr int valueColumn = 851;
constexpr int loginWatchMs = 15000;

QIcon applicationIcon()
{
    return QIcon(QStringLiteral(":/main/tipdesk.png"));
}

// Toolbar entry N's icon with its picture for double density. QIcon would find the @2x file by
// itself only when the screen had that density at start; added here, a window moved between
// screens of ratio 1 and 2 gets the right one. Qt 6.4 takes the plain picture for every ratio
// below 2 when both are there, so on a screen between 1 and 2 the icon has only the finer one,
// scaled down a little.
QIcon toolbarIcon(int position, qreal ratio)
{
    const QString base = QStringLiteral(":/main/toolbar/%1").arg(position, 2, 10, QLatin1Char('0'));
    QIcon icon;
    if (ratio <= 1 || ratio >= 2)
        icon.addFile(base + QStringLiteral(".png"), QSize(35, 35));
    icon.addFile(base + QStringLiteral("@2x.png"), QSize(70, 70));
    return icon;
}

// The tray icon while the server cannot be reached: the same picture, greyed.
QIcon disconnectedIcon()
{
    const QIcon icon = applicationIcon();
    QIcon greyed;
    for (const QSize &size : icon.availableSizes())
        greyed.addPixmap(icon.pixmap(size, QIcon::Disabled));
    return greyed;
}

// The alert window, which an open flag says is the current content window.
TFormSMNC &alertWindow(Tmain *current)
{
    auto *window = qobject_cast<TFormSMNC *>(current);
    if (!window)
        throw AppError(QStringLiteral("预警管理窗口没有打开。"));
    return *window;
}

QLabel *makePicture(const QString &resource, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    picture->setPixmap(designPicture(resource, parent->devicePixelRatioF()));
    picture->setScaledContents(true);
    return picture;
}

QLabel *makeHeaderLabel(const char *name, const QString &text, int left, int top, int width,
                        QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(left, top, width, 20);
    return label;
}

QString levelName(const QString &level)
{
    if (level == u"0")
        return QStringLiteral("普通用户");
    if (level == u"1")
        return QStringLiteral("会员");
    if (level == u"2")
        return QStringLiteral("VIP");
    return QString();
}

} // namespace

TFrmMain::TFrmMain(QWidget *parent, TrayProbe trayAvailable)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_trayAvailable(trayAvailable ? std::move(trayAvailable)
                                    : TrayProbe(&QSystemTrayIcon::isSystemTrayAvailable))
{
    // No maximise hint: the window manager then neither shows a maximise button nor maximises
    // or restores the window on a double click on its title bar.
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("FrmMain"));
    setWindowIcon(applicationIcon());
    resize(windowWidth, windowHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    buildDesign();
    applySkin(this);
    FormCreate();
}

TFrmMain::~TFrmMain()
{
    FormDestroy();
}

void TFrmMain::buildDesign()
{
    Panel8 = new QFrame(this); // the content windows fill it (Tmain's hosted construction)
    Panel8->setObjectName(QStringLiteral("Panel8"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(Panel8, 1);
    layout->addWidget(buildFooter());

    // Coarse timers: a poll a few milliseconds late costs nothing, and the system can group the
    // wake-ups of an idle client.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::CoarseTimer);
    Timer1->setInterval(15000);
    connect(Timer1, &QTimer::timeout, this, &TFrmMain::Timer1Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setTimerType(Qt::CoarseTimer);
    Timer2->setInterval(loginWatchMs);
    connect(Timer2, &QTimer::timeout, this, &TFrmMain::Timer2Timer);

    buildTrayIcon();

    SlidePopUp1 = new TSlidePopUp(this);
    SlidePopUp1->setObjectName(QStringLiteral("SlidePopUp1"));
    applySlidePopUp1Design(*SlidePopUp1);
    connect(SlidePopUp1, &TSlidePopUp::OnClick, this, &TFrmMain::SlidePopUp1Click);
}

QWidget *TFrmMain::buildHeader()
{
    Panel7 = new QFrame(this);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setFixedHeight(headerHeight);

    Image1 = makePicture(QStringLiteral(":/main/header.png"), Panel7);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->installEventFilter(this);
    Panel7->installEventFilter(this); // keeps the picture stretched over the whole header

    for (int position = 1; position <= toolbarEntryCount; ++position) {
        const ToolbarSlot &slot = toolbarSlots[position - 1];
        auto *button = new QToolButton(Panel7);
        button->setObjectName(QString::fromLatin1(slot.buttonName));
        button->setText(QString::fromUtf16(slot.designedCaption));
        button->setIcon(toolbarIcon(position, button->devicePixelRatioF()));
        button->setIconSize(QSize(35, 35));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(QRect(QPoint(slot.designedLeft, buttonTop), buttonSize));
        if (position == settingsPosition)
            connect(button, &QToolButton::clicked, this,
                    [this] { runReportingFailures([this] { RzToolButton11Click(); }); });
        else
            connect(button, &QToolButton::clicked, this, [this, position] {
                runReportingFailures([this, position] { contentButtonClick(position); });
            });
        m_toolbar.append(button);
    }

    Label5 = makeHeaderLabel("Label5", QStringLiteral("用户名称："), labelColumn, 24,
                             valueColumn - labelColumn, Panel7);
    Label8 = makeHeaderLabel("Label8", QStringLiteral("用户名："), valueColumn, 24,
                             windowWidth - valueColumn - 4, Panel7);
    Label6 = makeHeaderLabel("Label6", QStringLiteral("用户等级："), labelColumn, 48,
                             valueColumn - labelColumn, Panel7);
    Label9 = makeHeaderLabel("Label9", QStringLiteral("用户名："), valueColumn, 48,
                             windowWidth - valueColumn - 4, Panel7);
    return Panel7;
}

QWidget *TFrmMain::buildFooter()
{
    Panel9 = new QFrame(this);
    Panel9->setObjectName(QStringLiteral("Panel9"));
    Panel9->setFixedHeight(footerHeight);
    auto *layout = new QVBoxLayout(Panel9);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *panel1 = new QFrame(Panel9);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFixedHeight(6);
    auto *stripLayout = new QVBoxLayout(panel1);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    QLabel *image3 = makePicture(QStringLiteral(":/main/footer-strip.png"), panel1);
    image3->setObjectName(QStringLiteral("Image3"));
    stripLayout->addWidget(image3);

    RzMarqueeStatus1 = new MarqueeStatus(Panel9);
    RzMarqueeStatus1->setObjectName(QStringLiteral("RzMarqueeStatus1"));
    RzMarqueeStatus1->setText(QStringLiteral("提示信息1"));
    // Shown beside the notice line only where there is no notification area (buildTrayIcon).
    m_trayHint =
        new QLabel(QStringLiteral("未检测到系统托盘，最小化后请从任务栏恢复窗口。"), Panel9);
    m_trayHint->setObjectName(QStringLiteral("TrayHint"));
    m_trayHint->hide();
    auto *noticeRow = new QHBoxLayout;
    noticeRow->setContentsMargins(0, 0, 8, 0);
    noticeRow->setSpacing(8);
    noticeRow->addWidget(RzMarqueeStatus1, 1);
    noticeRow->addWidget(m_trayHint);

    QLabel *image2 = makePicture(QStringLiteral(":/main/footer-base.png"), Panel9);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setFixedHeight(6);

    layout->addWidget(panel1);
    layout->addLayout(noticeRow, 1);
    layout->addWidget(image2);
    return Panel9;
}

void TFrmMain::buildTrayIcon()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N10 = PopupMenu1->addAction(QStringLiteral("系统主页"));
    N10->setObjectName(QStringLiteral("N10"));
    N1 = PopupMenu1->addAction(QStringLiteral("退出系统"));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N10, &QAction::triggered, this,
            [this] { runReportingFailures([this] { N10Click(); }); });
    connect(N1, &QAction::triggered, this, [this] { runReportingFailures([this] { N1Click(); }); });

    RzTrayIcon1 = new QSystemTrayIcon(applicationIcon(), this);
    RzTrayIcon1->setObjectName(QStringLiteral("RzTrayIcon1"));
    RzTrayIcon1->setContextMenu(PopupMenu1);
    connect(RzTrayIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    restoreApplication();
            });
    // Without a notification area the icon could not bring the window back: minimising keeps it
    // in the taskbar, and the footer says so once instead of a box at every minimise.
    if (m_trayAvailable())
        RzTrayIcon1->show();
    else
        m_trayHint->show();
}

bool TFrmMain::minimiseHidesToTray() const
{
    return RzTrayIcon1->isVisible() && m_trayAvailable();
}

QToolButton *TFrmMain::toolbarButton(int position) const
{
    return m_toolbar.at(position - 1);
}

void TFrmMain::FormCreate()
{
    m_hostPanel = Panel8;
}

void TFrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The show sequence belongs to the first show after login, not to every return from the tray.
    if (!m_showSequenceRun) {
        m_showSequenceRun = true;
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
        RzTrayIcon1->setToolTip(gpsysname);
        RzMarqueeStatus1->setText(syszjxx);
        Label8->setText(username);
        showLevel();
        startTimers();
        if (ifctzqd)
            stayOnTop();
    });
}

void TFrmMain::layoutToolbar()
{
    int shown = 0;
    bool clicked = false;
    for (int position = 1; position <= toolbarEntryCount; ++position) {
        QToolButton *button = toolbarButton(position);
        if (anxs(position) != u"0") {
            button->hide();
            continue;
        }
        button->show();
        button->move(toolbarStart + 68 * shown, buttonTop);
        if (!clicked) {
            button->click();
            clicked = true;
        }
        ++shown;
    }
}

void TFrmMain::showLevel()
{
    if (!yhqyhyfj) {
        Label6->hide();
        Label9->hide();
        return;
    }
    const QString name = levelName(UserDJ);
    if (!name.isEmpty())
        Label9->setText(name);
}

void TFrmMain::startTimers()
{
    const qint64 interval = qint64(khdsxsj) * 1000;
    Timer1->setInterval(int(std::clamp<qint64>(interval, 0, std::numeric_limits<int>::max())));
    // A zero interval means no polling at all (a zero-interval timer would fire without pause).
    if (interval > 0)
        Timer1->start();
    Timer2->start();
}

void TFrmMain::stayOnTop()
{
    // Tell the window system directly: re-setting the widget's flags would hide and re-show it.
    overrideWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    if (QWindow *window = windowHandle())
        window->setFlag(Qt::WindowStaysOnTopHint, true);
}

void TFrmMain::contentButtonClick(int position)
{
    const ContentWindowBuilder build = contentWindowBuilder(position);
    if (!build)
        return; // this position has no content window yet
    m_content.replace([&] { return build(HostedIn {m_hostPanel}); });
    markCurrentButton(m_content.window() ? position : 0);
}

void TFrmMain::markCurrentButton(int position)
{
    for (int index = 1; index <= toolbarEntryCount; ++index) {
        QToolButton *button = toolbarButton(index);
        const bool current = index == position;
        if (button->property("current").toBool() == current)
            continue;
        button->setProperty("current", current);
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
}

void TFrmMain::RzToolButton11Click()
{
    openSettingsWindow(this, [] { AlertSound::play(); });
}

void TFrmMain::N10Click()
{
    if (trimmedText(hqurl).isEmpty())
        return;
    QDesktopServices::openUrl(QUrl::fromUserInput(hqurl));
}

void TFrmMain::N1Click()
{
    if (showMessage(this, QStringLiteral("是否关闭本系统？"), QStringLiteral("提示"),
                    BoxIcon::Information, BoxButtons::OkCancel)
        == BoxAnswer::Ok)
        endProgram();
}

void TFrmMain::SlidePopUp1Click()
{
    SlidePopUp1->CloseAll();
    restoreApplication();
}

void TFrmMain::restoreApplication()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TFrmMain::Timer1Timer()
{
    if (serviceCallInFlight())
        return;
    runDiscardingFailures([this] {
        QString answer;
        try {
            answer = fetchChangeCounters();
        } catch (const std::exception &) {
            showConnectionState(true);
            throw;
        }
        showConnectionState(false);
        rebuildChangeCounters(answer);
        const CounterSet moved = storeMovedCounters();
        for (PollAction action : pollActions(moved, {smncOpen, wysmncOpen, wysmjmOpen}))
            runPollAction(action);
    });
}

void TFrmMain::runPollAction(PollAction action)
{
    switch (action) {
    case PollAction::hjgcanctdopen:
        return hjgcanctdopen();
    case PollAction::hjgcXGanddopen:
        return hjgcXGanddopen();
    case PollAction::hjgcADDclose:
        return hjgcADDclose();
    case PollAction::spzxaddandopen:
        return spzxaddandopen();
    case PollAction::spzxXGanddopen:
        return spzxXGanddopen();
    case PollAction::spzxADDclose:
        return spzxADDclose();
    case PollAction::firstBulletinReloadAndAlert:
        reloadBulletinPage();
        return alertBulletin(BulletinKind::First);
    case PollAction::firstBulletinReload:
    case PollAction::secondBulletinReload:
        return reloadBulletinPage();
    case PollAction::firstBulletinAlert:
        return alertBulletin(BulletinKind::First);
    case PollAction::secondBulletinReloadAndAlert:
        reloadBulletinPage();
        return alertBulletin(BulletinKind::Second);
    case PollAction::secondBulletinAlert:
        return alertBulletin(BulletinKind::Second);
    }
}

void TFrmMain::hjgcanctdopen()
{
    TFormSMNC &window = alertWindow(currentContentWindow());
    const GridRows today = ContentQueries::todaysAlerts();
    fillGrid(*window.StringGrid1, today);
    fillGrid(*window.StringGrid2, ContentQueries::latestAlerts());
    AlertSound::play();
    raisePopup(alertPopupText(today));
}

void TFrmMain::hjgcXGanddopen()
{
    TFormSMNC &window = alertWindow(currentContentWindow());
    fillGrid(*window.StringGrid1, ContentQueries::todaysAlerts());
    fillGrid(*window.StringGrid2, ContentQueries::latestAlerts());
}

void TFrmMain::hjgcADDclose()
{
    // The one action that keeps its failures to itself: the tick goes on with the next kind.
    runDiscardingFailures([this] {
        const GridRows today = ContentQueries::todaysAlerts();
        AlertSound::play();
        raisePopup(alertPopupText(today));
    });
}

void TFrmMain::spzxaddandopen()
{
    TFormSMNC &window = alertWindow(currentContentWindow());
    const GridRows today = ContentQueries::todaysLiveItems();
    fillGrid(*window.StringGrid3, today);
    AlertSound::play();
    raisePopup(liveInfoPopupText(today));
}

void TFrmMain::spzxXGanddopen()
{
    fillGrid(*alertWindow(currentContentWindow()).StringGrid3, ContentQueries::todaysLiveItems());
}

void TFrmMain::spzxADDclose()
{
    const GridRows today = ContentQueries::todaysLiveItems();
    AlertSound::play();
    raisePopup(liveInfoPopupText(today));
}

void TFrmMain::alertBulletin(BulletinKind kind)
{
    AlertSound::play();
    raisePopup(bulletinPopupText(kind));
}

void TFrmMain::reloadBulletinPage()
{
    if (Tmain *window = currentContentWindow())
        window->refreshPage();
}

void TFrmMain::raisePopup(const QString &text)
{
    SlidePopUp1->setText(text);
    SlidePopUp1->Show();
}

void TFrmMain::showConnectionState(bool lost)
{
    if (lost == m_connectionLost)
        return;
    m_connectionLost = lost;
    RzTrayIcon1->setIcon(lost ? disconnectedIcon() : applicationIcon());
    RzTrayIcon1->setToolTip(
        lost ? gpsysname + u'\n' + QStringLiteral("与服务器的连接中断，正在重试…") : gpsysname);
}

void TFrmMain::Timer2Timer()
{
    if (serviceCallInFlight())
        return;
    bool ours = true;
    try {
        ours = LoginRecord::loginStillOurs();
    } catch (const std::exception &failure) {
        // Ticks go on under the report's modal box: while one report is up, later failures add
        // none, so an hour without the server does not leave a pile of boxes.
        if (m_watchReportOpen)
            return;
        m_watchReportOpen = true;
        reportGeneralError(failureText(failure));
        m_watchReportOpen = false;
        return;
    }
    if (!ours)
        takeoverDetected();
}

void TFrmMain::takeoverDetected()
{
    forcedOffline = true;
    Timer1->stop();
    Timer2->stop();
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
        RzMarqueeStatus1->setRunning(isVisible() && !isMinimized());
    if (event->type() == QEvent::WindowStateChange && isMinimized() && minimiseHidesToTray()) {
        // Leave only the notification-area icon; hiding from inside the state change confuses
        // some window managers, so it happens right after, unless the window is back by then.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isMinimized())
                    hide();
            },
            Qt::QueuedConnection);
    }
}

bool TFrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel7 && event->type() == QEvent::Resize) {
        Image1->setGeometry(Panel7->rect());
        Image1->lower();
    } else if (watched == Image1) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            m_dragOffset = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
        } else if (event->type() == QEvent::MouseMove) {
            Image1MouseMove(static_cast<QMouseEvent *>(event));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmMain::Image1MouseMove(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    // The window system's own move follows the pointer until the button is released; where it
    // has none, the window is moved by hand.
    QWindow *window = windowHandle();
    if (window && window->startSystemMove())
        return;
    move(event->globalPosition().toPoint() - m_dragOffset);
}

void TFrmMain::FormDestroy()
{
    // After a takeover the login record belongs to the other login.
    LoginRecord::deleteLoginRow();
}
