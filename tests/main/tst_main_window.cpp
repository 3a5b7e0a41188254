// The main window after login: toolbar layout, header labels, content switching, the notice line,
// the tray menu actions, minimising with and without a notification area and the deletion of the
// login row, against the reference server.
#include "ClientSession.h"
#include "GuiTestMain.h"
#include "ServiceTarget.h"
#include "TestServer.h"
#include "UrlCatcher.h"

#include "app/ChangeCounters.h"
#include "app/UnitGlouble.h"
#include "content/ContentWindowCatalog.h"
#include "content/UnitSMNC.h"
#include "main/AlertSound.h"
#include "main/MarqueeStatus.h"
#include "main/UnitMain.h"
#include "popup/FrmSlidePopUp.h"
#include "popup/SlidePopUp.h"
#include "service/AppError.h"
#include "ui/ExternalBrowser.h"
#include "ui/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

// Closes every modal window that comes up and remembers its caption.
class ModalCloser : public QObject
{
public:
    ModalCloser()
    {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                m_captions.append(modal->windowTitle());
                modal->close();
            }
        });
        m_poll.start(10);
    }
    QStringList captions() const { return m_captions; }

private:
    QTimer m_poll;
    QStringList m_captions;
};

QStringList showValuesFrom(const QString &compact)
{
    QStringList values;
    for (const QString &value : compact.split(u'|'))
        values.append(value);
    while (values.size() < toolbarEntryCount)
        values.append(QStringLiteral("1"));
    return values;
}

QList<QList<int>> lastSeenAndServerCounters()
{
    QList<int> seen;
    QList<int> server;
    for (CounterKey key : pollOrder) {
        seen.append(lastSeenValue(key));
        server.append(changeCounterValue(counterName(key)).toInt());
    }
    return {seen, server};
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;

    std::unique_ptr<TFrmMain> shownMainWindow()
    {
        auto window = std::make_unique<TFrmMain>();
        window->show();
        return window;
    }

    QLabel *label(TFrmMain &window, const char *name)
    {
        return window.findChild<QLabel *>(QString::fromLatin1(name));
    }

private Q_SLOTS:
    void initTestCase()
    {
        // As in the program: the tray icon keeps the client alive, so only its own code ends it.
        QApplication::setQuitOnLastWindowClosed(false);
        server = std::make_unique<TestServer>();
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
    }

    void init()
    {
        resetClientGlobals();
        counterBaselineRequired = false;
        MessageBoxRecorder::start();
        ClientSession::logIn(*server, QStringLiteral("demo"), QStringLiteral("demo123"));
        yhqyhyfj = true;
    }

    void cleanup()
    {
        MessageBoxRecorder::stop();
        if (!server->isRunning())
            server->start();
        server->command(QStringLiteral("config"), {QStringLiteral("an1xs=0")});
    }

    void beforeShowNothingIsConfigured()
    {
        TFrmMain window;
        QCOMPARE(window.windowTitle(), QStringLiteral("FrmMain"));
        QCOMPARE(window.size(), QSize(948, 695));
        const QStringList designed = {"预警管理", "私募内参", "私募绝密", "实时行情",
                                      "新闻资讯", "价值评估", "个股档案", "大盘资金",
                                      "研究报告", "研究报告", "系统设置"};
        const QList<int> lefts = {8, 79, 150, 220, 290, 360, 430, 500, 570, 640, 710};
        const QStringList names = {"RzToolButton1",  "RzToolButton8", "RzToolButton9",
                                   "RzToolButton3",  "RzToolButton2", "RzToolButton4",
                                   "RzToolButton5",  "RzToolButton6", "RzToolButton7",
                                   "RzToolButton10", "RzToolButton11"};
        for (int position = 1; position <= toolbarEntryCount; ++position) {
            QToolButton *button = window.toolbarButton(position);
            QCOMPARE(button->objectName(), names.at(position - 1));
            QCOMPARE(button->text(), designed.at(position - 1));
            QCOMPARE(button->geometry(), QRect(lefts.at(position - 1), 14, 68, 64));
            QCOMPARE(button->iconSize(), QSize(35, 35));
        }
        QCOMPARE(label(window, "Label5")->text(), QStringLiteral("用户名称："));
        QCOMPARE(label(window, "Label6")->text(), QStringLiteral("用户等级："));
        QCOMPARE(label(window, "Label8")->text(), QStringLiteral("用户名："));
        QCOMPARE(label(window, "Label9")->text(), QStringLiteral("用户名："));
        QCOMPARE(label(window, "Label5")->x(), 789);
        QCOMPARE(label(window, "Label8")->x(), 851);
        QCOMPARE(window.findChild<QWidget *>(QStringLiteral("Panel7"))->height(), 90);
        QCOMPARE(window.findChild<QWidget *>(QStringLiteral("Panel9"))->height(), 33);
        QCOMPARE(window.findChild<MarqueeStatus *>(QStringLiteral("RzMarqueeStatus1"))->text(),
                 QStringLiteral("提示信息1"));
        QVERIFY(window.currentContentWindow() == nullptr);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));

        const QList<QAction *> menu =
            window.findChild<QMenu *>(QStringLiteral("PopupMenu1"))->actions();
        QCOMPARE(menu.size(), 3);
        QCOMPARE(menu.at(0)->objectName(), QStringLiteral("N10"));
        QCOMPARE(menu.at(0)->text(), QStringLiteral("系统主页"));
        QCOMPARE(menu.at(1)->objectName(), QStringLiteral("DoNotDisturb"));
        QCOMPARE(menu.at(1)->text(), QStringLiteral("免打扰"));
        QVERIFY(menu.at(1)->isCheckable() && !menu.at(1)->isChecked());
        QCOMPARE(menu.at(2)->objectName(), QStringLiteral("N1"));
        QCOMPARE(menu.at(2)->text(), QStringLiteral("退出系统"));
    }

    void toolbarLayout_data()
    {
        QTest::addColumn<QString>("showValues"); // positions 1.. ; the rest "1"
        QTest::addColumn<QList<int>>("shownLefts"); // per position, -1 = hidden
        QTest::addColumn<bool>("alertWindowOpened");
        QTest::addColumn<QStringList>("modalCaptions");
        QTest::newRow("0 1 0") << QStringLiteral("0|1|0")
                               << QList<int> {9, -1, 77, -1, -1, -1, -1, -1, -1, -1, -1} << true
                               << QStringList {};
        QTest::newRow("none shown")
            << QStringLiteral("1") << QList<int> {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}
            << false << QStringList {};
        QTest::newRow("only settings") << QStringLiteral("1|1|1|1|1|1|1|1|1|1|0")
                                       << QList<int> {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 9}
                                       << false << QStringList {QStringLiteral("系统设置")};
        QTest::newRow("two zeros hide")
            << QStringLiteral("00|0") << QList<int> {-1, 9, -1, -1, -1, -1, -1, -1, -1, -1, -1}
            << false << QStringList {};
        QTest::newRow("all shown")
            << QStringLiteral("0|0|0|0|0|0|0|0|0|0|0")
            << QList<int> {9, 77, 145, 213, 281, 349, 417, 485, 553, 621, 689} << true
            << QStringList {};
    }

    void toolbarLayout()
    {
        QFETCH(QString, showValues);
        QFETCH(QList<int>, shownLefts);
        QFETCH(bool, alertWindowOpened);
        QFETCH(QStringList, modalCaptions);
        const QStringList values = showValuesFrom(showValues);
        for (int n = 1; n <= toolbarEntryCount; ++n) {
            anxs(n) = values.at(n - 1);
            anmc(n) = QStringLiteral("入口%1").arg(n);
        }

        ModalCloser closer;
        auto window = shownMainWindow();
        for (int position = 1; position <= toolbarEntryCount; ++position) {
            QToolButton *button = window->toolbarButton(position);
            QCOMPARE(button->text(), QStringLiteral("入口%1").arg(position));
            const int left = shownLefts.at(position - 1);
            QCOMPARE(button->isVisible(), left >= 0);
            if (left >= 0)
                QCOMPARE(button->x(), left);
        }
        QCOMPARE(closer.captions(), modalCaptions);
        QCOMPARE(qobject_cast<TFormSMNC *>(window->currentContentWindow()) != nullptr,
                 alertWindowOpened);
        QCOMPARE(smncOpen, alertWindowOpened);
        // The show sequence went on to the end in every case: labels and timers.
        QCOMPARE(label(*window, "Label8")->text(), QStringLiteral("demo"));
        QVERIFY(window->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
        QVERIFY(window->findChild<QTimer *>(QStringLiteral("Timer2"))->isActive());
    }

    void blanksAroundZeroArriveTrimmedAndShow()
    {
        server->command(QStringLiteral("config"), {QStringLiteral("an1xs= 0 ")});
        ClientSession::loadConfiguration();
        QCOMPARE(anxs(1), QStringLiteral("0"));
        auto window = shownMainWindow();
        QVERIFY(window->toolbarButton(1)->isVisible());
        QCOMPARE(window->toolbarButton(1)->x(), 9);
    }

    void headerAndFooterTexts()
    {
        auto window = shownMainWindow();
        QCOMPARE(window->windowTitle(), gpsysname);
        QCOMPARE(window->findChild<QSystemTrayIcon *>(QStringLiteral("RzTrayIcon1"))->toolTip(),
                 gpsysname);
        QCOMPARE(window->findChild<MarqueeStatus *>(QStringLiteral("RzMarqueeStatus1"))->text(),
                 syszjxx);
        QCOMPARE(label(*window, "Label8")->text(), QStringLiteral("demo"));
        QCOMPARE(window->toolbarButton(1)->text(), QStringLiteral("预警管理"));
        QCOMPARE(window->toolbarButton(10)->text(), QStringLiteral("综合报告"));
        // The pictures came with the first show.
        QVERIFY(!window->toolbarButton(11)->icon().isNull());
        QVERIFY(!label(*window, "Image1")->pixmap().isNull());
    }

    void levelLabels_data()
    {
        QTest::addColumn<bool>("grading");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("shown"); // empty: the pair is hidden
        QTest::newRow("grading on, 0") << true << QStringLiteral("0") << QStringLiteral("普通用户");
        QTest::newRow("grading on, 1") << true << QStringLiteral("1") << QStringLiteral("会员");
        QTest::newRow("grading on, 2") << true << QStringLiteral("2") << QStringLiteral("VIP");
        QTest::newRow("grading on, unknown level")
            << true << QStringLiteral("5") << QStringLiteral("用户名：");
        QTest::newRow("grading off") << false << QStringLiteral("2") << QString();
    }

    void levelLabels()
    {
        QFETCH(bool, grading);
        QFETCH(QString, level);
        QFETCH(QString, shown);
        yhqyhyfj = grading;
        UserDJ = level;
        auto window = shownMainWindow();
        QCOMPARE(label(*window, "Label6")->isVisible(), !shown.isEmpty());
        QCOMPARE(label(*window, "Label9")->isVisible(), !shown.isEmpty());
        if (!shown.isEmpty())
            QCOMPARE(label(*window, "Label9")->text(), shown);
    }

    void timersAreSetUp_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("polling");
        QTest::newRow("5 s") << 5 << true;
        QTest::newRow("0 s: no polling") << 0 << false;
    }

    void timersAreSetUp()
    {
        QFETCH(int, seconds);
        QFETCH(bool, polling);
        khdsxsj = seconds;
        auto window = shownMainWindow();
        const auto *poll = window->findChild<QTimer *>(QStringLiteral("Timer1"));
        const auto *watch = window->findChild<QTimer *>(QStringLiteral("Timer2"));
        QCOMPARE(poll->interval(), seconds * 1000);
        QCOMPARE(poll->isActive(), polling);
        QCOMPARE(watch->interval(), 15000);
        QVERIFY(watch->isActive());
    }

    void showStoresTheCountersAsSeen()
    {
        auto window = shownMainWindow();
        QVERIFY(!counterBaselineRequired);
        LoadChangeCounters();
        const auto values = lastSeenAndServerCounters();
        QCOMPARE(values.at(0), values.at(1));
        QVERIFY(storeMovedCounters().isEmpty());
    }

    void switchingAndReloading()
    {
        anxs(3) = QStringLiteral("0");
        auto window = shownMainWindow();
        QPointer<Tmain> first = window->currentContentWindow();
        QVERIFY(qobject_cast<TFormSMNC *>(first));
        QVERIFY(first->isHosted());
        QCOMPARE(first->parentWidget()->objectName(), QStringLiteral("Panel8"));
        QCOMPARE(first->geometry(), first->parentWidget()->rect());
        QVERIFY(window->toolbarButton(1)->property("current").toBool());

        // Clicking the current window's button builds it anew; the old one is gone before the
        // new one sets its open flag.
        QTest::mouseClick(window->toolbarButton(1), Qt::LeftButton);
        QVERIFY(first.isNull());
        QPointer<Tmain> second = window->currentContentWindow();
        QVERIFY(qobject_cast<TFormSMNC *>(second));
        QVERIFY(smncOpen);
        QCOMPARE(
            window->findChild<QWidget *>(QStringLiteral("Panel8"))->findChildren<Tmain *>().size(),
            1);

        // Another position: the alert window goes before the bulletin window comes.
        QTest::mouseClick(window->toolbarButton(3), Qt::LeftButton);
        QVERIFY(second.isNull());
        QVERIFY(!smncOpen);
        QPointer<Tmain> third = window->currentContentWindow();
        QCOMPARE(third->objectName(), QStringLiteral("FormWYSMJM"));
        QVERIFY(wysmjmOpen);

        window.reset();
        QVERIFY(third.isNull());
        QVERIFY(!wysmjmOpen);
    }

    void settingsOpenModallyAndLeaveTheContentAlone()
    {
        anxs(11) = QStringLiteral("0");
        auto window = shownMainWindow();
        Tmain *content = window->currentContentWindow();
        ModalCloser closer;
        QTest::mouseClick(window->toolbarButton(11), Qt::LeftButton);
        QCOMPARE(closer.captions(), QStringList {QStringLiteral("系统设置")});
        QCOMPARE(window->currentContentWindow(), content);
    }

    void destroyDeletesTheLoginRow_data()
    {
        QTest::addColumn<bool>("forced");
        QTest::addColumn<bool>("rowRemains");
        QTest::newRow("normal end") << false << false;
        QTest::newRow("after a takeover") << true << true;
    }

    void destroyDeletesTheLoginRow()
    {
        QFETCH(bool, forced);
        QFETCH(bool, rowRemains);
        auto window = shownMainWindow();
        QVERIFY(ClientSession::loggedInUserIds(*server).contains(userid));
        forcedOffline = forced;
        window.reset();
        QCOMPARE(ClientSession::loggedInUserIds(*server).contains(userid), rowRemains);
        QVERIFY(MessageBoxRecorder::shown().isEmpty());
    }

    void destroyWithTheServerDownSaysNothing()
    {
        auto window = shownMainWindow();
        server->stop();
        window.reset();
        QVERIFY(MessageBoxRecorder::shown().isEmpty());
    }

    void closingTheWindowEndsTheProgram()
    {
        auto window = shownMainWindow();
        QTimer::singleShot(0, window.get(), &QWidget::close);
        QCOMPARE(QApplication::exec(), 0);
        window.reset();
        QVERIFY(!ClientSession::loggedInUserIds(*server).contains(userid));
    }

    void exitAsksFirst_data()
    {
        QTest::addColumn<BoxAnswer>("answer");
        QTest::addColumn<int>("loopResult"); // 0: the program ended; 7: it went on
        QTest::newRow("OK ends the program") << BoxAnswer::Ok << 0;
        QTest::newRow("Cancel goes on") << BoxAnswer::Cancel << 7;
    }

    void exitAsksFirst()
    {
        QFETCH(BoxAnswer, answer);
        QFETCH(int, loopResult);
        auto window = shownMainWindow();
        MessageBoxRecorder::queueAnswer(answer);
        QAction *exit = window->findChild<QAction *>(QStringLiteral("N1"));
        QTimer::singleShot(0, exit, [exit] {
            exit->trigger();
            // Queued behind whatever ending the exit item asked for.
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(7); }, Qt::QueuedConnection);
        });
        const int result = QApplication::exec();
        QCoreApplication::removePostedEvents(qApp, QEvent::MetaCall); // an unused exit(7)
        QCOMPARE(result, loopResult);
        const auto shown = MessageBoxRecorder::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("是否关闭本系统？"));
        QCOMPARE(shown[0].caption, QStringLiteral("提示"));
        QCOMPARE(shown[0].icon, BoxIcon::Information);
        QCOMPARE(shown[0].buttons, BoxButtons::OkCancel);
        QCOMPARE(window->isVisible(), loopResult == 7);
        // The login row goes with the window once the program ended.
        window.reset();
        QCOMPARE(ClientSession::loggedInUserIds(*server).contains(userid), false);
    }

    void homePage_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("browser"); // a web browser is installed
        QTest::addColumn<QString>("opened"); // empty: nothing opened
        QTest::addColumn<bool>("told"); // the person is told there is no browser
        const QString home = QStringLiteral("http://127.0.0.1:1/demo/home.html");
        QTest::newRow("configured") << home << true << home << false;
        QTest::newRow("blanks around") << QStringLiteral("  http://127.0.0.1:1/a.html ") << true
                                       << QStringLiteral("http://127.0.0.1:1/a.html") << false;
        QTest::newRow("blanks only") << QStringLiteral("   ") << true << QString() << false;
        QTest::newRow("none") << QString() << true << QString() << false;
        QTest::newRow("no browser") << home << false << QString() << true;
    }

    void homePage()
    {
        QFETCH(QString, address);
        QFETCH(bool, browser);
        QFETCH(QString, opened);
        QFETCH(bool, told);
        UrlCatcher recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
        setBrowserProbe([browser] { return browser; });
        hqurl = address;
        auto window = shownMainWindow();
        window->findChild<QAction *>(QStringLiteral("N10"))->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        setBrowserProbe(nullptr);
        if (opened.isEmpty())
            QVERIFY(recorder.opened.isEmpty());
        else
            QCOMPARE(recorder.opened, QList<QUrl> {QUrl(opened)});
        const auto shown = MessageBoxRecorder::shown();
        QCOMPARE(shown.size(), told ? 1 : 0);
        if (told)
            QVERIFY(shown.first().text.contains(QStringLiteral("没有找到网页浏览器")));
    }

    void alwaysOnTop_data()
    {
        QTest::addColumn<bool>("onTop");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }

    void alwaysOnTop()
    {
        QFETCH(bool, onTop);
        ifctzqd = onTop;
        auto window = shownMainWindow();
        QCOMPARE(bool(window->windowFlags() & Qt::WindowStaysOnTopHint), onTop);
        QCOMPARE(bool(window->windowHandle()->flags() & Qt::WindowStaysOnTopHint), onTop);
        QVERIFY(window->isVisible());
    }

    void firstCounterFetchFailureStillShowsEverything()
    {
        const QString level = UserDJ;
        server->stop();
        auto window = shownMainWindow();

        // Every step after the counters ran.
        QCOMPARE(window->windowTitle(), gpsysname);
        QCOMPARE(window->toolbarButton(1)->text(), QStringLiteral("预警管理"));
        QCOMPARE(window->toolbarButton(2)->x(), 77);
        QCOMPARE(label(*window, "Label8")->text(), QStringLiteral("demo"));
        QCOMPARE(label(*window, "Label9")->text(), QStringLiteral("VIP"));
        QVERIFY(qobject_cast<TFormSMNC *>(window->currentContentWindow()));
        QVERIFY(window->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
        QVERIFY(window->findChild<QTimer *>(QStringLiteral("Timer2"))->isActive());
        QVERIFY(counterBaselineRequired);
        QVERIFY(MessageBoxRecorder::shown().isEmpty());

        // The server comes back with counters that moved meanwhile: the first poll takes them
        // as seen and raises nothing; the next change is reported as usual.
        server->start();
        pointClientAt(server->baseUrl());
        server->command(QStringLiteral("publish-alert"),
                        {"--level", level, "--code", "600519", "--price", "1690.00", "--action",
                         "买入", "--reason", "回补缺口"});
        LoadChangeCounters();
        QVERIFY(storeMovedCounters().isEmpty());
        const auto values = lastSeenAndServerCounters();
        QCOMPARE(values.at(0), values.at(1));
        QVERIFY(!counterBaselineRequired);

        server->command(QStringLiteral("publish-info"),
                        {"--level", "3", "--type", "盘中提示", "--text", "午后量能放大"});
        LoadChangeCounters();
        QCOMPARE(storeMovedCounters().names(), QList<QStringView> {u"spzxadd"});
    }

    void firstWindowThatFailsIsNotReported()
    {
        setContentWindowBuilder(
            1, [](HostedIn) -> Tmain * { throw AppError(QStringLiteral("预警窗口打不开")); });
        auto window = shownMainWindow();
        QVERIFY(MessageBoxRecorder::shown().isEmpty());
        QVERIFY(!window->currentContentWindow());
        // The rest of the show went on.
        QCOMPARE(window->windowTitle(), gpsysname);
        QVERIFY(window->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
        // A click by the person is reported as before.
        window->toolbarButton(1)->click();
        setContentWindowBuilder(1, nullptr);
        QCOMPARE(MessageBoxRecorder::shown().size(), 1);
        QCOMPARE(MessageBoxRecorder::shown().first().text, QStringLiteral("预警窗口打不开"));
    }

    void noticeLineScrollsAndBlinks()
    {
        auto window = shownMainWindow();
        auto *notice = window->findChild<MarqueeStatus *>(QStringLiteral("RzMarqueeStatus1"));
        QVERIFY(notice->font().bold());
        QCOMPARE(notice->palette().color(QPalette::WindowText), QColor(247, 155, 72));
        const QList<QTimer *> timers = notice->findChildren<QTimer *>();
        QList<int> intervals;
        for (const QTimer *timer : timers)
            intervals.append(timer->interval());
        std::sort(intervals.begin(), intervals.end());
        QCOMPARE(intervals, (QList<int> {100, 5000}));

        const int start = notice->textOffset();
        notice->scrollStep();
        notice->scrollStep();
        QCOMPARE(notice->textOffset(), start - 2);
        // Once the whole text has left on the left it comes back in at the right edge.
        const int textWidth = notice->fontMetrics().horizontalAdvance(notice->text());
        QVERIFY(textWidth > 100);
        while (notice->textOffset() > -textWidth)
            notice->scrollStep();
        QCOMPARE(notice->textOffset(), -textWidth); // just gone on the left
        notice->scrollStep();
        QCOMPARE(notice->textOffset(), notice->width());

        QVERIFY(notice->textShown());
        notice->blinkStep();
        QVERIFY(!notice->textShown());
        notice->blinkStep();
        QVERIFY(notice->textShown());
    }

    void dragByTheHeaderPicture()
    {
        auto window = shownMainWindow();
        QWidget *picture = window->findChild<QWidget *>(QStringLiteral("Image1"));
        const QPoint before = window->pos();
        const QPoint grab(400, 5);
        const QPoint globalGrab = picture->mapToGlobal(grab);
        QMouseEvent press(QEvent::MouseButtonPress, grab, globalGrab, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &press);
        QMouseEvent move(QEvent::MouseMove, grab + QPoint(30, 20), globalGrab + QPoint(30, 20),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &move);
        QCOMPARE(window->pos(), before + QPoint(30, 20));
    }

    void contentWindowBaseBuiltFreeStanding()
    {
        Tmain window;
        QVERIFY(window.isWindow());
        QVERIFY(!window.isHosted());
        QCOMPARE(window.windowTitle(), QStringLiteral("main"));
        QCOMPARE(window.size(), QSize(688, 447));
        const Qt::WindowFlags flags = window.windowFlags();
        QVERIFY(!(flags
                  & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint
                     | Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint)));
    }

    void alertSoundPlaysTheProgramFoldersFile()
    {
        QTemporaryDir folder;
        programDir = folder.path() + u'/';
        QFile::copy(QStringLiteral(":/sounds/miduseing.wav"),
                    programDir + QStringLiteral("miduseing.wav"));
        AlertSound::play();
        QCOMPARE(AlertSound::playedFile(), folder.path() + QStringLiteral("/miduseing.wav"));

        // A sound chosen since then is read afresh by the next play.
        QTemporaryDir other;
        programDir = other.path() + u'/';
        QFile::copy(QStringLiteral(":/sounds/Mid/叮咚.wav"),
                    programDir + QStringLiteral("miduseing.wav"));
        AlertSound::play();
        QCOMPARE(AlertSound::playedFile(), other.path() + QStringLiteral("/miduseing.wav"));
    }

    // With a notification area, minimising leaves only its icon; without one the window stays in
    // the taskbar and the footer says so, once, instead of a box at every minimise.
    void minimiseWithAndWithoutNotificationArea_data()
    {
        QTest::addColumn<bool>("trayAvailable");
        QTest::newRow("notification area") << true;
        QTest::newRow("none, as on a bare desktop") << false;
    }

    void minimiseWithAndWithoutNotificationArea()
    {
        QFETCH(bool, trayAvailable);
        auto window =
            std::make_unique<TFrmMain>(nullptr, [trayAvailable] { return trayAvailable; });
        window->show();
        auto *hint = window->findChild<QLabel *>(QStringLiteral("TrayHint"));
        QVERIFY(hint);
        QCOMPARE(hint->isVisible(), !trayAvailable);
        QCOMPARE(hint->text(), QStringLiteral("未检测到系统托盘，最小化后请从任务栏恢复窗口。"));
        QCOMPARE(window->minimiseHidesToTray(), trayAvailable);

        for (int round = 0; round < 2; ++round) {
            window->showMinimized();
            QCoreApplication::processEvents(); // the hide to the tray is queued
            QCOMPARE(window->isVisible(), !trayAvailable);
            QVERIFY(MessageBoxRecorder::shown().isEmpty());
            window->restoreApplication();
            QVERIFY(window->isVisible());
            QVERIFY(!window->isMinimized());
        }
    }

    // A click on the icon brings the window back; a notification area that went away since the
    // start no longer swallows it.
    void trayClickRestoresAndAVanishedTrayKeepsTheWindowFindable()
    {
        bool trayAvailable = true;
        TFrmMain window(nullptr, [&trayAvailable] { return trayAvailable; });
        window.show();
        auto *tray = window.findChild<QSystemTrayIcon *>(QStringLiteral("RzTrayIcon1"));
        QVERIFY(tray->isVisible());
        window.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(!window.isVisible());
        Q_EMIT tray->activated(QSystemTrayIcon::Trigger);
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());

        trayAvailable = false;
        window.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
    }

    void popupClickClosesAllAndRestores()
    {
        auto window = shownMainWindow();
        window->showMinimized();
        TSlidePopUp *popup = window->SlidePopUp1;
        QCOMPARE(popup->title(), QStringLiteral("提示"));
        QCOMPARE(popup->timeOut(), 6);
        popup->setText(
            QStringLiteral("弹出时间：2026-12-08 09:31:05\r股票代码：600519\r操作方式：买入"));
        QVERIFY(popup->Show());
        QVERIFY(popup->Show());
        QCOMPARE(popup->openCount(), 2);
        Q_EMIT popup->OnClick(popup->openWindows().constFirst());
        QCOMPARE(popup->openCount(), 0);
        QVERIFY(!window->isMinimized());
        QVERIFY(window->isVisible());
    }
};

TIPDESK_GUI_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
