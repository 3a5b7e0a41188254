// What the poll tick and the login watch decide, without a window and without a server: counters
// text in, actions out; the steps and popup texts of the actions from given rows; the bulletin
// address; the login stamp comparison; do-not-disturb.
#include "CoreTestMain.h"

#include "app/ChangeCounters.h"
#include "app/UnitGlouble.h"
#include "content/BulletinAddress.h"
#include "main/DoNotDisturb.h"
#include "main/LoginWatch.h"
#include "main/PollTick.h"
#include "service/AppError.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"

#include <QTest>

namespace {

using Counts = std::array<int, 8>; // in poll order: gptjadd gptjsx smncadd smncsx smjmadd ...

// An ifchangetable text with these counts and plain bulletin times and titles.
QString countersText(const Counts &c, const QString &firstTitle = QStringLiteral("周报"))
{
    return QStringLiteral("%1,%2,%3,%4,2026-12-09 09:30:00,%5,%6,%7,2026-12-09 08:00:00,绝密,%8,%9")
        .arg(c[0])
        .arg(c[1])
        .arg(c[2])
        .arg(c[3])
        .arg(firstTitle)
        .arg(c[4])
        .arg(c[5])
        .arg(c[6])
        .arg(c[7]);
}

void storeLastSeen(const Counts &counts)
{
    for (std::size_t i = 0; i < pollOrder.size(); ++i)
        lastSeenValue(pollOrder[i]) = counts[i];
}

Counts lastSeen()
{
    Counts counts {};
    for (std::size_t i = 0; i < pollOrder.size(); ++i)
        counts[i] = lastSeenValue(pollOrder[i]);
    return counts;
}

// The counts with the counters named moved by one.
Counts movedBy(const QStringList &names)
{
    Counts counts {};
    for (std::size_t i = 0; i < pollOrder.size(); ++i)
        counts[i] = names.contains(counterName(pollOrder[i])) ? 1 : 0;
    return counts;
}

using A = PollAction;

const GridRows todays = {{"  2026-12-09 10:01:00", "600519", "1688.00", "买入", "放量"},
                         {"  2026-12-09 09:31:00", "000001", "10.00", "卖出", "破位"}};
const GridRows latest = {{"  2026-12-08 14:00:00", "300750", "200.00", "持有", "观察"}};
const GridRows live = {{"  2026-12-09 10:02:00", "盘中提示", "沪指高开"}};

GridRows failingQuery()
{
    throw AppError(QStringLiteral("服务器无法连接"));
}

ContentSource rowsGiven(const GridRows &alerts = todays, const GridRows &liveItems = live)
{
    return {[alerts] { return alerts; }, [] { return latest; }, [liveItems] { return liveItems; }};
}

} // namespace

Q_DECLARE_METATYPE(Counts)
Q_DECLARE_METATYPE(LoginWatchVerdict)

class TestPollDecisions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        resetClientGlobals();
        an2mc = QStringLiteral("私募内参");
        an3mc = QStringLiteral("私募绝密");
    }

    void decisionTable_data()
    {
        QTest::addColumn<QStringList>("moved");
        QTest::addColumn<int>("openWindow"); // 0 none, 1 alert window, 2/3 bulletin windows
        QTest::addColumn<QList<PollAction>>("actions");

        const auto row = [](const char *name, const QStringList &moved, int open,
                            const QList<PollAction> &actions) {
            QTest::newRow(name) << moved << open << actions;
        };
        // One kind at a time: a new entry, a refresh, both; with its window open and closed.
        row("alert new, open", {"gptjadd"}, 1, {A::hjgcanctdopen});
        row("alert changed, open", {"gptjsx"}, 1, {A::hjgcXGanddopen});
        row("alert both, open", {"gptjadd", "gptjsx"}, 1, {A::hjgcanctdopen, A::hjgcXGanddopen});
        row("alert new, closed", {"gptjadd"}, 0, {A::hjgcADDclose});
        row("alert changed, closed", {"gptjsx"}, 0, {});
        row("alert both, closed", {"gptjadd", "gptjsx"}, 0, {A::hjgcADDclose});
        row("live new, open", {"spzxadd"}, 1, {A::spzxaddandopen});
        row("live changed, open", {"spzxsx"}, 1, {A::spzxXGanddopen});
        row("live both, open", {"spzxadd", "spzxsx"}, 1, {A::spzxaddandopen, A::spzxXGanddopen});
        row("live new, closed", {"spzxadd"}, 2, {A::spzxADDclose});
        row("live changed, closed", {"spzxsx"}, 0, {});
        row("first bulletin new, open", {"smncadd"}, 2, {A::firstBulletinReloadAndAlert});
        row("first bulletin changed, open", {"smncsx"}, 2, {A::firstBulletinReload});
        row("first bulletin both, open", {"smncadd", "smncsx"}, 2,
            {A::firstBulletinReloadAndAlert, A::firstBulletinReload});
        row("first bulletin new, alert window open", {"smncadd"}, 1, {A::firstBulletinAlert});
        row("first bulletin changed, closed", {"smncsx"}, 3, {});
        row("second bulletin new, open", {"smjmadd"}, 3, {A::secondBulletinReloadAndAlert});
        row("second bulletin changed, open", {"smjmsx"}, 3, {A::secondBulletinReload});
        row("second bulletin new, first open", {"smjmadd"}, 2, {A::secondBulletinAlert});
        row("second bulletin changed, closed", {"smjmsx"}, 0, {});
        // Several kinds in one tick: alerts, live items, first and second bulletins, in turn.
        row("everything new, nothing open", {"smjmadd", "spzxadd", "smncadd", "gptjadd"}, 0,
            {A::hjgcADDclose, A::spzxADDclose, A::firstBulletinAlert, A::secondBulletinAlert});
        row("nothing moved", {}, 1, {});
    }

    void decisionTable()
    {
        QFETCH(QStringList, moved);
        QFETCH(int, openWindow);
        QFETCH(QList<PollAction>, actions);
        storeLastSeen({});
        const TickDecision decision = decideTick(
            countersText(movedBy(moved)), {openWindow == 1, openWindow == 2, openWindow == 3});
        QVERIFY(decision.complete);
        QCOMPARE(decision.actions, actions);
        QCOMPARE(lastSeen(), movedBy(moved)); // stored at once
    }

    void badAnswers_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<Counts>("seenAfter");
        const Counts before {4, 3, 2, 1, 4, 0, 7, 2};
        // A title with a blank shifts the later items: smjmadd reads the title's second word,
        // so gptjadd .. smncsx are stored and the rest stays.
        QTest::newRow("title with a blank")
            << countersText({5, 3, 2, 1, 9, 9, 9, 9}, QStringLiteral("私募 周报"))
            << Counts {5, 3, 2, 1, 4, 0, 7, 2};
        QTest::newRow("short answer") << QStringLiteral("5,3,2") << before;
        QTest::newRow("empty answer") << QString() << before;
        QTest::newRow("not a number first")
            << QStringLiteral("x,3,2,1,2026-12-09 09:30:00,t,4,0,2026-12-09 08:00:00,t,7,2")
            << before;
    }

    void badAnswers()
    {
        QFETCH(QString, answer);
        QFETCH(Counts, seenAfter);
        storeLastSeen({4, 3, 2, 1, 4, 0, 7, 2});
        const TickDecision decision = decideTick(answer, {true, false, false});
        QVERIFY(!decision.complete);
        QVERIFY(!decision.failure.isEmpty());
        QVERIFY(decision.actions.isEmpty());
        QCOMPARE(lastSeen(), seenAfter);
    }

    void stepsShowWhatTheActionsFetched()
    {
        storeLastSeen({});
        rebuildChangeCounters(countersText({}));
        const QList<PollStep> steps =
            fetchSteps({A::hjgcanctdopen, A::spzxaddandopen, A::firstBulletinReloadAndAlert,
                        A::secondBulletinAlert, A::hjgcXGanddopen},
                       rowsGiven());
        QCOMPARE(steps.size(), 5);
        QCOMPARE(steps[0].todaysAlerts.value_or(GridRows()), todays);
        QCOMPARE(steps[0].latestAlerts.value_or(GridRows()), latest);
        QCOMPARE(steps[0].popupText.value_or(QString()),
                 QStringLiteral("弹出时间：2026-12-09 10:01:00\r股票代码：600519\r操作方式：买入"));
        QCOMPARE(steps[1].todaysLiveItems.value_or(GridRows()), live);
        QCOMPARE(steps[1].popupText.value_or(QString()),
                 QStringLiteral("弹出时间：2026-12-09 10:02:00\r资讯类型："
                                "盘中提示\r资讯内容：沪指高开"));
        QVERIFY(steps[2].reloadBulletinPage);
        QCOMPARE(steps[2].popupText.value_or(QString()),
                 QStringLiteral("【私募内参消息】\r弹出时间：2026-12-09 09:30:00\r标题：周报"));
        QVERIFY(!steps[3].reloadBulletinPage);
        QCOMPARE(steps[3].popupText.value_or(QString()),
                 QStringLiteral("【私募绝密消息】\r弹出时间：2026-12-09 08:00:00\r标题：绝密"));
        QVERIFY(!steps[4].popupText); // a refresh alerts nobody
        QCOMPARE(steps[4].kind(), PollStep::Kind::Alert);
        QCOMPARE(steps[2].kind(), PollStep::Kind::Bulletin);
    }

    void noRowsStillAlert()
    {
        const QList<PollStep> steps =
            fetchSteps({A::hjgcADDclose, A::spzxADDclose}, rowsGiven({}, {}));
        QCOMPARE(steps.size(), 2);
        QCOMPARE(steps[0].popupText.value_or(QString()),
                 QStringLiteral("弹出时间：\r股票代码：\r操作方式："));
        QCOMPARE(steps[1].popupText.value_or(QString()),
                 QStringLiteral("弹出时间：\r资讯类型：\r资讯内容："));
    }

    void failuresEndTheSteps()
    {
        ContentSource latestFails = rowsGiven();
        latestFails.latestAlerts = &failingQuery;
        // The alert grid filled before the failure stays; no alert, and the live item is lost.
        QList<PollStep> steps = fetchSteps({A::hjgcanctdopen, A::spzxaddandopen}, latestFails);
        QCOMPARE(steps.size(), 1);
        QCOMPARE(steps[0].todaysAlerts.value_or(GridRows()), todays);
        QVERIFY(!steps[0].latestAlerts);
        QVERIFY(!steps[0].popupText);

        // A new alert with the window closed keeps its failure to itself.
        ContentSource alertsFail = rowsGiven();
        alertsFail.todaysAlerts = &failingQuery;
        steps = fetchSteps({A::hjgcADDclose, A::spzxADDclose}, alertsFail);
        QCOMPARE(steps.size(), 1);
        QCOMPARE(steps[0].action, A::spzxADDclose);

        // Any other action's failure ends the tick there.
        ContentSource liveFails = rowsGiven();
        liveFails.todaysLiveItems = &failingQuery;
        steps = fetchSteps({A::spzxADDclose, A::firstBulletinAlert}, liveFails);
        QVERIFY(steps.isEmpty());
    }

    void bulletinAddress_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("address");
        QTest::newRow("first") << "http://tips.example.com/" << 1
                               << "http://tips.example.com/qzGongGaoXinXi.aspx?userdj=2&username="
                                  "%E5%BC%A0+%E4%B8%89&userpas=p%27w%26x";
        QTest::newRow("second, base in a folder")
            << "https://h.example.com/svc/" << 2
            << "https://h.example.com/svc/qzGongGaoSiMi.aspx?userdj=2&username="
               "%E5%BC%A0+%E4%B8%89&userpas=p%27w%26x";
    }

    void bulletinAddress()
    {
        QFETCH(QString, base);
        QFETCH(int, page);
        QFETCH(QString, address);
        ServiceSettings settings;
        settings.baseAddress = base;
        RegisterWebServiceSoap(settings);
        UserDJ = QStringLiteral("2");
        usernameUrl = QStringLiteral("%E5%BC%A0+%E4%B8%89"); // 张 三, as the login encodes it
        userpasUrl = QStringLiteral("p%27w%26x");
        QCOMPARE(::bulletinAddress(page == 1 ? BulletinPage::First : BulletinPage::Second),
                 address);
    }

    void doNotDisturb()
    {
        DoNotDisturb quiet; // a fresh home: off
        QVERIFY(!quiet.quiet());
        QCOMPARE(quiet.choose(true), QString());
        quiet.count(PollStep::Kind::Alert);
        quiet.count(PollStep::Kind::Bulletin);
        quiet.count(PollStep::Kind::Alert);
        // The desktop going quiet and back changes nothing while the person's choice holds.
        QCOMPARE(quiet.setDesktopQuiet(true), QString());
        QCOMPARE(quiet.setDesktopQuiet(false), QString());
        QVERIFY(quiet.quiet());
        QCOMPARE(quiet.choose(false),
                 QStringLiteral("免打扰期间收到：\r预警股票：2 条\r公告：1 条"));
        // Counted afresh; the desktop alone quiets too, and nothing arrived means no summary.
        QCOMPARE(quiet.setDesktopQuiet(true), QString());
        QVERIFY(quiet.quiet() && !quiet.chosen());
        QCOMPARE(quiet.setDesktopQuiet(false), QString());
        QVERIFY(DoNotDisturb().quiet() == false); // what was stored last
    }

    void loginStamps_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<LoginWatchVerdict>("verdict");
        const QString stamp = QStringLiteral("2026-12-09T09:30:00.123+08:00");
        QTest::newRow("same") << stamp << stamp << LoginWatchVerdict::SameLogin;
        QTest::newRow("another login")
            << QStringLiteral("2026-12-09T10:00:00+08:00") << stamp << LoginWatchVerdict::TakenOver;
        QTest::newRow("a blank more") << stamp + u' ' << stamp << LoginWatchVerdict::TakenOver;
        QTest::newRow("row gone") << QString() << stamp << LoginWatchVerdict::TakenOver;
    }

    void loginStamps()
    {
        QFETCH(QString, answer);
        QFETCH(QString, stamp);
        QFETCH(LoginWatchVerdict, verdict);
        QCOMPARE(compareLoginStamps(answer, stamp), verdict);
    }
};

TIPDESK_CORE_TEST_MAIN(TestPollDecisions)
#include "tst_poll_decisions.moc"
