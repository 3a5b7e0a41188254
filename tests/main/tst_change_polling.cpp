// The poll tick, its popup actions and the login watch, against a reference server whose operator
// commands move real counters. Ticks are invoked directly.
#include "ClientSession.h"
#include "FixedClock.h"
#include "GuiTestMain.h"
#include "RawHttpPeer.h"
#include "ServiceTarget.h"
#include "TestServer.h"

#include "account/SoundFile.h"
#include "app/ChangeCounters.h"
#include "app/UnitGlouble.h"
#include "content/ContentWindowCatalog.h"
#include "content/StringGrid.h"
#include "content/UnitSMNC.h"
#include "main/AlertSound.h"
#include "main/MarqueeStatus.h"
#include "main/UnitMain.h"
#include "popup/FrmSlidePopUp.h"
#include "popup/MouseLabel.h"
#include "popup/SlidePopUp.h"
#include "ui/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QSemaphore>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// A grid of the alert window, found by its design name.
template<typename Window> StringGrid &grid(const Window &window, int number)
{
    return *window->template findChild<StringGrid *>(QStringLiteral("StringGrid%1").arg(number));
}

const QString takeoverText =
    QStringLiteral("您的用户在其它地方登录或被迫下线，如有疑问请联系管理员！");

// A bulletin window as far as the poll sees it: it holds the open flag while it exists and counts
// the page reloads it is asked for.
class BulletinWindowStandIn final : public Tmain
{
public:
    explicit BulletinWindowStandIn(HostedIn host) : Tmain(host)
    {
        wysmncOpen = true;
        ++created;
    }
    ~BulletinWindowStandIn() override { wysmncOpen = false; }
    void refreshPage() override { ++reloads; }

    static inline int created = 0;
    static inline int reloads = 0;
};

Tmain *buildBulletinStandIn(HostedIn host)
{
    return new BulletinWindowStandIn(host);
}

QString timeOnServer(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

class TestChangePolling : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    std::unique_ptr<QTemporaryDir> soundless; // programDir without a sound file: sounds beep
    // Server and client share one stopped clock at noon of the day the test started, so that
    // "today" cannot change under the test at midnight.
    const QDateTime fixedNow {QDate::currentDate(), QTime(12, 0)};
    int beeps = 0;
    int minute = 0; // publish times one minute apart, so that the newest is plain

    // The server's time of the next entry: today, before the clocks' fixed now, later than the
    // last.
    QString nextTime() { return timeOnServer(fixedNow.addSecs(-3600 + 30 * ++minute)); }

    QString publishAlert(const QString &code, const QString &action, const QString &time)
    {
        const QString id =
            server->command(QStringLiteral("publish-alert"),
                            {"--level", "3", "--code", code, "--price", "10.00", "--action", action,
                             "--reason", "测试", "--time", time});
        return server->lastCommandOk() ? id : QString(); // the failure is recorded already
    }

    QString publishInfo(const QString &type, const QString &text, const QString &time)
    {
        const QString id =
            server->command(QStringLiteral("publish-info"),
                            {"--level", "3", "--type", type, "--text", text, "--time", time});
        return server->lastCommandOk() ? id : QString(); // the failure is recorded already
    }

    std::unique_ptr<TFrmMain> shownMainWindow(bool alertWindowOpen)
    {
        anxs(1) = alertWindowOpen ? QStringLiteral("0") : QStringLiteral("1");
        auto window = std::make_unique<TFrmMain>();
        window->show();
        return window;
    }

    static QStringList popupTexts(const TFrmMain &window)
    {
        QStringList texts;
        for (TfrmSlidePopUp *popup : window.SlidePopUp1->openWindows())
            texts.append(popup->findChild<TMouseLabel *>(QStringLiteral("lblText"))->text());
        return texts;
    }

    static QString alertPopup(const QString &time, const QString &code, const QString &action)
    {
        return QStringLiteral("弹出时间：%1\n股票代码：%2\n操作方式：%3").arg(time, code, action);
    }

    static QStringList gridColumn(const StringGrid &grid, int column)
    {
        QStringList cells;
        for (int row = 1; row < grid.rowCount(); ++row)
            cells.append(grid.cell(column, row));
        return cells;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        AlertSound::setFallback([this] { ++beeps; });
        Clock::install(std::make_unique<FixedClock>(fixedNow));
    }

    void init()
    {
        resetClientGlobals();
        MessageBoxRecorder::start();
        server = std::make_unique<TestServer>(false, QStringList(), fixedNow);
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
        server->command(QStringLiteral("config"),
                        {"yhqyhyfj=0", "ifctzqd=0", "khdsxsj=1", "an2mc=私募内参", "an3mc=私募绝密",
                         "an1xs=0"});
        QVERIFY(server->lastCommandOk());
        server->command(QStringLiteral("add-user"),
                        {"--name", "订阅者", "--password", "pw", "--level", "1"});
        QVERIFY(server->lastCommandOk());
        ClientSession::logIn(*server, QStringLiteral("订阅者"), QStringLiteral("pw"));
        soundless = std::make_unique<QTemporaryDir>();
        programDir = soundless->path() + u'/';
        beeps = 0;
        minute = 0;
    }

    void cleanup()
    {
        MessageBoxRecorder::stop();
        setContentWindowBuilder(2, nullptr);
        server.reset();
    }

    void countersAtLoginRaiseNothing()
    {
        QVERIFY(
            !publishAlert(QStringLiteral("600519"), QStringLiteral("买入"), nextTime()).isEmpty());
        QVERIFY(!publishInfo(QStringLiteral("盘中"), QStringLiteral("高开"), nextTime()).isEmpty());
        server->command(QStringLiteral("publish-bulletin"), {"--kind", "1", "--title", "周报"});
        auto window = shownMainWindow(false);
        QVERIFY(gptjadd != 0 && spzxadd != 0 && smncadd != 0);
        window->Timer1Timer();
        QCOMPARE(window->SlidePopUp1->openCount(), 0);
        QCOMPARE(beeps, 0);
    }

    void newAlert_data()
    {
        QTest::addColumn<bool>("alertWindowOpen");
        QTest::newRow("alert window open") << true;
        QTest::newRow("alert window not open") << false;
    }

    void newAlert()
    {
        QFETCH(bool, alertWindowOpen);
        QVERIFY(
            !publishAlert(QStringLiteral("000001"), QStringLiteral("卖出"), nextTime()).isEmpty());
        auto window = shownMainWindow(alertWindowOpen);
        const QString time = nextTime();
        QVERIFY(!publishAlert(QStringLiteral("600519"), QStringLiteral("买入"), time).isEmpty());
        window->Timer1Timer();

        QCOMPARE(window->SlidePopUp1->text(),
                 QStringLiteral("弹出时间：%1\r股票代码：600519\r操作方式：买入").arg(time));
        QCOMPARE(popupTexts(*window), QStringList {alertPopup(time, "600519", "买入")});
        QCOMPARE(beeps, 1);
        auto *alerts = qobject_cast<TFormSMNC *>(window->currentContentWindow());
        QCOMPARE(alerts != nullptr, alertWindowOpen);
        if (alerts) {
            QCOMPARE(gridColumn(grid(alerts, 1), 2), (QStringList {"600519", "000001"}));
            QCOMPARE(gridColumn(grid(alerts, 2), 2), (QStringList {"600519", "000001"}));
        }
        // Seen now: the next tick is quiet.
        window->Timer1Timer();
        QCOMPARE(window->SlidePopUp1->openCount(), 1);
        QCOMPARE(beeps, 1);
    }

    void editedAlertsRefillQuietly()
    {
        const QString id =
            publishAlert(QStringLiteral("600519"), QStringLiteral("买入"), nextTime());
        QVERIFY(!id.isEmpty());
        auto window = shownMainWindow(true);
        auto *alerts = qobject_cast<TFormSMNC *>(window->currentContentWindow());
        QVERIFY(alerts);
        server->command(QStringLiteral("edit-alert"), {"--id", id, "--action", "减仓"});
        QVERIFY(server->lastCommandOk());
        window->Timer1Timer();
        QCOMPARE(grid(alerts, 1).cell(4, 1), QStringLiteral("减仓"));
        QCOMPARE(grid(alerts, 2).cell(4, 1), QStringLiteral("减仓"));
        QCOMPARE(window->SlidePopUp1->openCount(), 0);
        QCOMPARE(beeps, 0);
    }

    void threeOfTodaysAlertsFillFourRows()
    {
        auto window = shownMainWindow(true);
        QVERIFY(
            !publishAlert(QStringLiteral("600036"), QStringLiteral("买入"), nextTime()).isEmpty());
        QVERIFY(
            !publishAlert(QStringLiteral("601318"), QStringLiteral("持有"), nextTime()).isEmpty());
        const QString newest = nextTime();
        QVERIFY(!publishAlert(QStringLiteral("300750"), QStringLiteral("卖出"), newest).isEmpty());
        window->Timer1Timer();
        auto *alerts = qobject_cast<TFormSMNC *>(window->currentContentWindow());
        QVERIFY(alerts);
        QCOMPARE(grid(alerts, 1).rowCount(), 4);
        QCOMPARE(grid(alerts, 1).cell(1, 1), QStringLiteral("  ") + newest);
        QCOMPARE(grid(alerts, 1).cell(2, 1), QStringLiteral("300750"));
        QVERIFY(grid(alerts, 2).rowCount() <= 31);
        QCOMPARE(popupTexts(*window), QStringList {alertPopup(newest, "300750", "卖出")});
    }

    void deletingAllOfTodaysAlertsLeavesAStaleRow()
    {
        const QString first =
            publishAlert(QStringLiteral("600036"), QStringLiteral("买入"), nextTime());
        QVERIFY(!first.isEmpty());
        const QString second =
            publishAlert(QStringLiteral("601318"), QStringLiteral("持有"), nextTime());
        QVERIFY(!second.isEmpty());
        auto window = shownMainWindow(true);
        auto *alerts = qobject_cast<TFormSMNC *>(window->currentContentWindow());
        QVERIFY(alerts);
        QCOMPARE(grid(alerts, 1).rowCount(), 3);
        server->command(QStringLiteral("delete-alert"), {"--id", first});
        server->command(QStringLiteral("delete-alert"), {"--id", second});
        window->Timer1Timer();
        QCOMPARE(grid(alerts, 1).rowCount(), 2);
        QCOMPARE(grid(alerts, 1).cell(2, 1), QStringLiteral("601318"));
        QCOMPARE(window->SlidePopUp1->openCount(), 0);
    }

    void newLiveItem_data()
    {
        QTest::addColumn<bool>("alertWindowOpen");
        QTest::newRow("alert window open") << true;
        QTest::newRow("alert window not open") << false;
    }

    void newLiveItem()
    {
        QFETCH(bool, alertWindowOpen);
        auto window = shownMainWindow(alertWindowOpen);
        const QString time = nextTime();
        QVERIFY(
            !publishInfo(QStringLiteral("盘中提示"), QStringLiteral(" 沪指高开 "), time).isEmpty());
        window->Timer1Timer();
        QCOMPARE(
            popupTexts(*window),
            QStringList {
                QStringLiteral("弹出时间：%1\n资讯类型：盘中提示\n资讯内容：沪指高开").arg(time)});
        QCOMPARE(beeps, 1);
        if (auto *alerts = qobject_cast<TFormSMNC *>(window->currentContentWindow()))
            QCOMPARE(gridColumn(grid(alerts, 3), 2), QStringList {"盘中提示"});
        QCOMPARE(window->currentContentWindow() != nullptr, alertWindowOpen);
    }

    void alertAndLiveItemInOneTickStack()
    {
        auto window = shownMainWindow(false);
        const QString alertTime = nextTime();
        QVERIFY(
            !publishAlert(QStringLiteral("600519"), QStringLiteral("买入"), alertTime).isEmpty());
        const QString infoTime = nextTime();
        QVERIFY(!publishInfo(QStringLiteral("盘中"), QStringLiteral("放量"), infoTime).isEmpty());
        window->Timer1Timer();
        const QList<TfrmSlidePopUp *> popups = window->SlidePopUp1->openWindows();
        QCOMPARE(popups.size(), 2);
        QCOMPARE(
            popupTexts(*window),
            (QStringList {
                alertPopup(alertTime, "600519", "买入"),
                QStringLiteral("弹出时间：%1\n资讯类型：盘中\n资讯内容：放量").arg(infoTime)}));
        QVERIFY(popups.at(1)->stackOffset() > popups.at(0)->stackOffset());
        QCOMPARE(beeps, 2);
    }

    void bulletinPopups_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("first kind") << 1 << QStringLiteral("私募内参");
        QTest::newRow("second kind") << 2 << QStringLiteral("私募绝密");
    }

    void bulletinPopups()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        auto window = shownMainWindow(true);
        const QString time = nextTime();
        server->command(
            QStringLiteral("publish-bulletin"),
            {"--kind", QString::number(kind), "--title", "本周 \"观点\"", "--time", time});
        QVERIFY(server->lastCommandOk());
        window->Timer1Timer();
        QCOMPARE(window->SlidePopUp1->text(),
                 QStringLiteral("【%1消息】\r弹出时间：%2\r标题：本周 \"观点\"").arg(name, time));
        QCOMPARE(window->SlidePopUp1->openCount(), 1);
        QCOMPARE(beeps, 1);
    }

    void doNotDisturbKeepsQuietAndSumsUp()
    {
        auto window = shownMainWindow(true);
        auto *quiet = window->findChild<QAction *>(QStringLiteral("DoNotDisturb"));
        auto *tray = window->findChild<QSystemTrayIcon *>(QStringLiteral("RzTrayIcon1"));
        const QImage usual = tray->icon().pixmap(32).toImage();
        quiet->trigger();
        QVERIFY(quiet->isChecked());
        QVERIFY(tray->toolTip().contains(QStringLiteral("免打扰已开启")));
        QVERIFY(tray->icon().pixmap(32).toImage() != usual); // the icon carries a mark

        QVERIFY(
            !publishAlert(QStringLiteral("600519"), QStringLiteral("买入"), nextTime()).isEmpty());
        window->Timer1Timer();
        QVERIFY(
            !publishAlert(QStringLiteral("000001"), QStringLiteral("卖出"), nextTime()).isEmpty());
        QVERIFY(!publishInfo(QStringLiteral("盘中"), QStringLiteral("放量"), nextTime()).isEmpty());
        server->command(QStringLiteral("publish-bulletin"), {"--kind", "1", "--title", "周报"});
        window->Timer1Timer();
        // Quiet, but the window is current.
        QCOMPARE(window->SlidePopUp1->openCount(), 0);
        QCOMPARE(beeps, 0);
        auto *alerts = qobject_cast<TFormSMNC *>(window->currentContentWindow());
        QCOMPARE(gridColumn(grid(alerts, 1), 2), (QStringList {"000001", "600519"}));
        QCOMPARE(gridColumn(grid(alerts, 3), 2), QStringList {"盘中"});

        // A restart keeps the choice.
        QVERIFY(TFrmMain().findChild<QAction *>(QStringLiteral("DoNotDisturb"))->isChecked());

        // Off: one summary of what arrived, without a sound; then as usual.
        quiet->trigger();
        QCOMPARE(popupTexts(*window),
                 QStringList {QStringLiteral(
                     "免打扰期间收到：\n预警股票：2 条\n实盘资讯：1 条\n公告：1 条")});
        QCOMPARE(beeps, 0);
        QVERIFY(!tray->toolTip().contains(QStringLiteral("免打扰")));
        QVERIFY(
            !publishAlert(QStringLiteral("300750"), QStringLiteral("买入"), nextTime()).isEmpty());
        window->Timer1Timer();
        QCOMPARE(window->SlidePopUp1->openCount(), 2);
        QCOMPARE(beeps, 1);
    }

    void openBulletinWindowIsReloaded()
    {
        setContentWindowBuilder(2, &buildBulletinStandIn);
        anxs(2) = QStringLiteral("0");
        auto window = shownMainWindow(false); // position 2 is the first shown
        QVERIFY(wysmncOpen);
        BulletinWindowStandIn::reloads = 0;

        const QString id =
            server->command(QStringLiteral("publish-bulletin"), {"--kind", "1", "--title", "周报"});
        window->Timer1Timer();
        QCOMPARE(BulletinWindowStandIn::reloads, 1);
        QCOMPARE(window->SlidePopUp1->openCount(), 1);
        QCOMPARE(beeps, 1);

        server->command(QStringLiteral("edit-bulletin"), {"--id", id, "--title", "周报修订"});
        QVERIFY(server->lastCommandOk());
        window->Timer1Timer();
        QCOMPARE(BulletinWindowStandIn::reloads, 2);
        QCOMPARE(window->SlidePopUp1->openCount(), 1);
        QCOMPARE(beeps, 1);

        // A second-kind bulletin does not touch the first kind's window.
        server->command(QStringLiteral("publish-bulletin"), {"--kind", "2", "--title", "绝密"});
        window->Timer1Timer();
        QCOMPARE(BulletinWindowStandIn::reloads, 2);
        QCOMPARE(window->SlidePopUp1->openCount(), 2);
    }

    void zeroIntervalNeverPolls()
    {
        khdsxsj = 0;
        auto window = shownMainWindow(false);
        QVERIFY(!window->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
        QVERIFY(window->findChild<QTimer *>(QStringLiteral("Timer2"))->isActive());
    }

    void timersAreCoarseAndSetFromTheConfiguration()
    {
        khdsxsj = 7;
        auto window = shownMainWindow(false);
        auto *poll = window->findChild<QTimer *>(QStringLiteral("Timer1"));
        auto *watch = window->findChild<QTimer *>(QStringLiteral("Timer2"));
        QCOMPARE(poll->interval(), 7000);
        QCOMPARE(watch->interval(), 15000);
        QVERIFY(poll->timerType() != Qt::PreciseTimer);
        QVERIFY(watch->timerType() != Qt::PreciseTimer);
    }

    void takeoverEndsTheProgramAndKeepsTheRow()
    {
        auto window = shownMainWindow(false);
        window->Timer2Timer();
        QVERIFY(MessageBoxRecorder::shown().isEmpty()); // still our login
        window->showMinimized();

        server->command(QStringLiteral("kick"), {userid});
        QVERIFY(server->lastCommandOk());
        QTimer::singleShot(0, window.get(), [&window] {
            window->Timer2Timer();
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(7); }, Qt::QueuedConnection);
        });
        const int result = QApplication::exec();
        QCoreApplication::removePostedEvents(qApp, QEvent::MetaCall);
        QCOMPARE(result, 0); // the program was ended
        QVERIFY(forcedOffline);
        QVERIFY(!window->isMinimized());
        const auto shown = MessageBoxRecorder::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, takeoverText);
        QCOMPARE(shown[0].caption, QStringLiteral("系统错误！"));
        QCOMPARE(shown[0].icon, BoxIcon::Error);
        QVERIFY(!window->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
        QVERIFY(!window->findChild<QTimer *>(QStringLiteral("Timer2"))->isActive());
        const QString id = userid;
        window.reset();
        QVERIFY(ClientSession::loggedInUserIds(*server).contains(id));
    }

    void serverAwayThenBack()
    {
        auto window = shownMainWindow(false);
        server->stop();
        QVERIFY(
            !publishAlert(QStringLiteral("600519"), QStringLiteral("买入"), nextTime()).isEmpty());
        QVERIFY(!publishInfo(QStringLiteral("盘中"), QStringLiteral("放量"), nextTime()).isEmpty());

        // An hour away at the demo's five seconds: polls stay silent, the tray says the
        // connection is lost.
        for (int tick = 0; tick < 360; ++tick)
            window->Timer1Timer();
        QVERIFY(window->connectionLost());
        auto *tray = window->findChild<QSystemTrayIcon *>(QStringLiteral("RzTrayIcon1"));
        QCOMPARE(tray->toolTip(), gpsysname + QStringLiteral("\n与服务器的连接中断，正在重试…"));
        QCOMPARE(window->SlidePopUp1->openCount(), 0);
        QVERIFY(MessageBoxRecorder::shown().isEmpty());

        // The watch reports a failing call, but while its report is up further ticks add none.
        MessageBoxRecorder::stop();
        QList<QWidget *> boxes;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, this, [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box)
                return;
            if (!boxes.contains(box)) {
                boxes.append(box);
                for (int tick = 1; tick < 240; ++tick) // the rest of the hour under the report
                    window->Timer2Timer();
            }
            box->close();
        });
        answerer.start(10);
        window->Timer2Timer();
        answerer.stop();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(!forcedOffline);
        MessageBoxRecorder::start();

        // Back: the next poll brings one popup per kind that moved while away.
        server->start();
        QVERIFY(server->isRunning());
        window->Timer1Timer();
        QCOMPARE(window->SlidePopUp1->openCount(), 2);
        QCOMPARE(beeps, 2);
        QVERIFY(!window->connectionLost());
        QCOMPARE(tray->toolTip(), gpsysname);
        window->Timer2Timer();
        QVERIFY(MessageBoxRecorder::shown().isEmpty());
        QVERIFY(!forcedOffline);
    }

    void alertSoundFallsBackToTheBeep_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("not a wave file") << QByteArray("RIFF\x04\0\0\0junkjunkjunk");
        QTest::newRow("a wave header and garbage")
            << QByteArrayLiteral("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0garbagegarbagegarbage");
    }

    void alertSoundFallsBackToTheBeep()
    {
        QFETCH(QByteArray, content);
        if (!content.isEmpty()) {
            QFile file(AlertSound::fileName());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        AlertSound::play();
        QTRY_COMPARE(beeps, 1);
    }

    // A sound file that is no sound: the GUI thread never waits on it and the player never loads
    // it; the alert beeps instead.
    void hostileSoundFileBeeps_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a FIFO") << QStringLiteral("fifo");
        QTest::newRow("a wave header on more than a sound's size") << QStringLiteral("huge");
    }

    void hostileSoundFileBeeps()
    {
        QFETCH(QString, kind);
        const QByteArray path = QFile::encodeName(AlertSound::fileName());
        if (kind == u"fifo") {
            QCOMPARE(mkfifo(path.constData(), 0600), 0);
        } else {
            QFile file(AlertSound::fileName());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArrayLiteral("RIFF\x24\0\0\0WAVEfmt "));
            QVERIFY(file.resize(maxSoundBytes + 1)); // sparse: costs no disk
        }
        // A play that opened the FIFO would wait for a writer for ever: one comes after two
        // seconds, so that such a fault fails here instead of hanging the test.
        QSemaphore played;
        std::atomic<bool> readerWaited = false;
        std::thread writer([&] {
            if (played.tryAcquire(1, 2000))
                return;
            const int fifo = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
            readerWaited = fifo >= 0;
            if (fifo >= 0)
                ::close(fifo);
        });
        AlertSound::play();
        played.release();
        writer.join();
        QVERIFY(!readerWaited);
        QCOMPARE(beeps, 1);
        QVERIFY(AlertSound::playedFile().isEmpty());
    }

    void playableSoundDoesNotBeep()
    {
        QVERIFY(QFile::copy(QStringLiteral(":/sounds/miduseing.wav"), AlertSound::fileName()));
        AlertSound::play();
        QCOMPARE(AlertSound::playedFile(), AlertSound::fileName());
        QTRY_VERIFY(AlertSound::playerSettled());
        QCOMPARE(beeps, 0);
    }

    void webEngineStaysUnloadedWithoutAWebWindow()
    {
        auto window = shownMainWindow(true);
        window->Timer1Timer();
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY(mapped.contains("libtipdesk_gui"));
        QVERIFY(!mapped.contains("libQt6WebEngine"));
        QVERIFY(!mapped.contains("libtipdesk_web"));
    }

    void footerPausesWhileHidden()
    {
        auto window = shownMainWindow(false);
        auto *notice = window->findChild<MarqueeStatus *>(QStringLiteral("RzMarqueeStatus1"));
        QVERIFY(notice->isRunning());
        window->hide();
        QVERIFY(!notice->isRunning());
        const int offset = notice->textOffset();
        window->show();
        QVERIFY(notice->isRunning());
        QCOMPARE(notice->textOffset(), offset);
        window->showMinimized();
        QTRY_VERIFY(!notice->isRunning());
    }
};

// Answers the operator server cannot be made to give: counters a real server sends unquoted.
class TestCounterAnswers : public QObject
{
    Q_OBJECT

    int beeps = 0;
    QTemporaryDir soundless;

    static QByteArray counters(const QByteArray &text)
    {
        return RawHttpPeer::soapAnswer("ifchangetable", text);
    }

private Q_SLOTS:
    void init()
    {
        resetClientGlobals();
        AlertSound::setFallback([this] { ++beeps; });
        beeps = 0;
        programDir = soundless.path() + u'/';
        UserDJ = QStringLiteral("1");
        anxs(1) = QStringLiteral("1"); // no content window: the show reads nothing but counters
    }

    void badAnswersEndTheTickQuietly_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("gptjaddAfter"); // stored before the tick ended
        // A title with a blank shifts every later item: smjmadd reads "周报".
        QTest::newRow("title with a blank")
            << QByteArray("5,3,2,1,2026-12-08 09:30:00,私募 周报,4,0,2026-12-08 09:00:00,t,7,2")
            << 5;
        QTest::newRow("empty answer") << QByteArray() << 4;
    }

    void badAnswersEndTheTickQuietly()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, gptjaddAfter);
        RawHttpPeer peer(
            {counters("4,3,2,1,2026-12-08 09:30:00,私募周报,4,0,2026-12-08 09:00:00,t,7,2"),
             counters(answer)});
        pointClientAt(peer.baseUrl());
        MessageBoxRecorder::start();
        {
            TFrmMain window;
            window.show();
            QCOMPARE(gptjadd, 4);
            window.Timer1Timer();
            QCOMPARE(gptjadd, gptjaddAfter);
            QCOMPARE(smjmadd, 4);
            QCOMPARE(window.SlidePopUp1->openCount(), 0);
            QCOMPARE(beeps, 0);
            QVERIFY(!window.connectionLost()); // the server answered
        }
        QVERIFY(MessageBoxRecorder::shown().isEmpty());
        MessageBoxRecorder::stop();
    }
};

int main(int argc, char *argv[])
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    TestChangePolling polling;
    TestCounterAnswers answers;
    return QTest::qExec(&polling, argc, argv) | QTest::qExec(&answers, argc, argv);
}

#include "tst_change_polling.moc"
