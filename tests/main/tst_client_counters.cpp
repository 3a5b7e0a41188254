// The change counters: splitting the ifchangetable text, the twelve entries, the last-seen values
// and the poll's comparison; LoadChangeCounters against the reference server.
#include "AppErrorText.h"
#include "ServiceTarget.h"
#include "TestEnvironment.h"
#include "TestServer.h"

#include "app/ChangeCounters.h"
#include "app/UnitGlouble.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTest>

namespace {

// Twelve values as the server writes them: the two bulletin times hold one blank each.
const QString serverAnswer =
    QStringLiteral("5,3,2,1,2026-12-08 09:30:00,私募周报,4,0,2026-12-07 18:00:00,绝密简报,7,2");

const QStringList serverAnswerEntries = {
    QStringLiteral("gptjadd=5"),
    QStringLiteral("gptjsx=3"),
    QStringLiteral("smncadd=2"),
    QStringLiteral("smncsx=1"),
    QStringLiteral("smncaddsj=2026-12-08 09:30:00"),
    QStringLiteral("smncaddbt=私募周报"),
    QStringLiteral("smjmadd=4"),
    QStringLiteral("smjmsx=0"),
    QStringLiteral("smjmaddsj=2026-12-07 18:00:00"),
    QStringLiteral("smjmaddbt=绝密简报"),
    QStringLiteral("spzxadd=7"),
    QStringLiteral("spzxsx=2"),
};

QList<int> lastSeen()
{
    QList<int> values;
    for (CounterKey key : pollOrder)
        values.append(lastSeenValue(key));
    return values;
}

// A loopback address where nothing listens.
QString deadServer()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1/").arg(port);
}

} // namespace

class TestClientCounters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        resetClientGlobals();
        counterBaselineRequired = false;
    }

    void splitting_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("times split in two")
            << serverAnswer << QStringList {"5",        "3",        "2", "1", "2026-12-08",
                                            "09:30:00", "私募周报", "4", "0", "2026-12-07",
                                            "18:00:00", "绝密简报", "7", "2"};
        QTest::newRow("blanks after commas")
            << QStringLiteral("5, 3,  2,\t1") << QStringList {"5", "3", "2", "1"};
        QTest::newRow("leading blanks and controls")
            << QStringLiteral("\r\n  5,3") << QStringList {"5", "3"};
        QTest::newRow("blank separates like a comma")
            << QStringLiteral("a b,c") << QStringList {"a", "b", "c"};
        QTest::newRow("quoted keeps blanks and commas, doubled quote is one")
            << QStringLiteral("\"周报 \"\"一\"\", 二\",9") << QStringList {"周报 \"一\", 二", "9"};
        QTest::newRow("empty quoted item") << QStringLiteral("\"\",1") << QStringList {"", "1"};
        QTest::newRow("text after a closing quote is a new item")
            << QStringLiteral("\"ab\"cd,1") << QStringList {"ab", "cd", "1"};
        QTest::newRow("two commas give an empty item")
            << QStringLiteral("1,,2") << QStringList {"1", "", "2"};
        QTest::newRow("comma at the very end adds an empty item")
            << QStringLiteral("1,2,") << QStringList {"1", "2", ""};
        QTest::newRow("comma then blanks at the end adds nothing")
            << QStringLiteral("1,2, ") << QStringList {"1", "2"};
        QTest::newRow("empty answer") << QString() << QStringList {};
        QTest::newRow("blanks only") << QStringLiteral("  \n ") << QStringList {};
    }

    void splitting()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, items);
        QCOMPARE(splitCounterItems(answer), items);
    }

    void twelveEntriesInOrder_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("as sent") << serverAnswer;
        QTest::newRow("blank after every comma")
            << QString(serverAnswer).replace(QStringLiteral(","), QStringLiteral(", "));
        QTest::newRow("quoted titles") << QStringLiteral(
            "5,3,2,1,2026-12-08 09:30:00,\"私募周报\",4,0,2026-12-07 18:00:00,\"绝密简报\",7,2");
    }

    void twelveEntriesInOrder()
    {
        QFETCH(QString, answer);
        rebuildChangeCounters(answer);
        QCOMPARE(changeCounters, serverAnswerEntries);
        QCOMPARE(changeCounterValue(u"spzxsx"), QStringLiteral("2"));
        QCOMPARE(changeCounterValue(u"SMNCADDSJ"), QStringLiteral("2026-12-08 09:30:00"));
        QCOMPARE(changeCounterValue(u"nosuchkey"), QString());
    }

    void quotedTitleKeepsItsBlank()
    {
        rebuildChangeCounters(QStringLiteral(
            "5,3,2,1,2026-12-08 09:30:00,\"私募 周报\",4,0,2026-12-07 18:00:00,绝密简报,7,2"));
        QCOMPARE(changeCounterValue(u"smncaddbt"), QStringLiteral("私募 周报"));
        QCOMPARE(changeCounterValue(u"spzxadd"), QStringLiteral("7"));
        QCOMPARE(changeCounterValue(u"spzxsx"), QStringLiteral("2"));
    }

    void blankInTitleShiftsLaterItems()
    {
        rebuildChangeCounters(QStringLiteral(
            "5,3,2,1,2026-12-08 09:30:00,私募 周报,4,0,2026-12-07 18:00:00,绝密简报,7,2"));
        QCOMPARE(changeCounterValue(u"smncaddbt"), QStringLiteral("私募"));
        QCOMPARE(changeCounterValue(u"smjmadd"), QStringLiteral("周报"));
        QCOMPARE(changeCounterValue(u"spzxsx"), QStringLiteral("7")); // meant for spzxadd

        // Storing the counters stops at the first that is no integer; those before it are stored.
        const QString failure = failureText([] { storeAllLastSeenValues(); });
        QVERIFY(failure.contains(QStringLiteral("周报")));
        QCOMPARE(lastSeen(), (QList<int> {5, 3, 2, 1, 0, 0, 0, 0}));
    }

    void emptyAnswerEmptiesTheListAndRaises()
    {
        rebuildChangeCounters(serverAnswer);
        const QString failure = failureText([] { rebuildChangeCounters(QString()); });
        QVERIFY(!failure.isEmpty());
        QVERIFY(changeCounters.isEmpty());
        QCOMPARE(changeCounterValue(u"gptjadd"), QString());
    }

    void shortAnswerLeavesEntriesBeforeTheMissingItem()
    {
        const QString failure =
            failureText([] { rebuildChangeCounters(QStringLiteral("9,8,7,6,2026-12-08")); });
        QVERIFY(failure.contains(QStringLiteral("5"))); // names how many items came
        QCOMPARE(changeCounters, (QStringList {"gptjadd=9", "gptjsx=8", "smncadd=7", "smncsx=6"}));

        // The next full answer rebuilds the list completely.
        rebuildChangeCounters(serverAnswer);
        QCOMPARE(changeCounters, serverAnswerEntries);
    }

    void valuesAreTrimmed()
    {
        rebuildChangeCounters(
            QStringLiteral("\"5 \",3,2,1,2026-12-08 09:30:00,\" 周报\",4,0,a b,c,7,2"));
        QCOMPARE(changeCounterValue(u"gptjadd"), QStringLiteral("5"));
        QCOMPARE(changeCounterValue(u"smncaddbt"), QStringLiteral("周报"));
        QCOMPARE(changeCounterValue(u"smjmaddsj"), QStringLiteral("a b"));
    }

    void movedCountersUpAndDown()
    {
        rebuildChangeCounters(serverAnswer);
        storeAllLastSeenValues();
        QCOMPARE(lastSeen(), (QList<int> {5, 3, 2, 1, 4, 0, 7, 2}));
        QVERIFY(storeMovedCounters().isEmpty());

        // gptjadd goes down (entries deleted), spzxsx goes up: both moved, in comparison order.
        rebuildChangeCounters(QStringLiteral(
            "4,3,2,1,2026-12-08 09:30:00,私募周报,4,0,2026-12-07 18:00:00,绝密简报,7,3"));
        const QList<QStringView> moved = storeMovedCounters().names();
        QCOMPARE(moved, (QList<QStringView> {u"gptjadd", u"spzxsx"}));
        QCOMPARE(gptjadd, 4);
        QCOMPARE(spzxsx, 3);
        QVERIFY(storeMovedCounters().isEmpty());
    }

    void comparisonStopsAtAValueThatIsNoInteger()
    {
        rebuildChangeCounters(serverAnswer);
        storeAllLastSeenValues();
        rebuildChangeCounters(QStringLiteral("6,4,x,1,2026-12-08 09:30:00,私募周报,5,0,d t,b,8,2"));
        QVERIFY(!failureText([] { storeMovedCounters(); }).isEmpty());
        QCOMPARE(lastSeen(), (QList<int> {6, 4, 2, 1, 4, 0, 7, 2}));
    }

    void baselineTakesAllValuesAndReportsNothing()
    {
        counterBaselineRequired = true;
        rebuildChangeCounters(serverAnswer);
        QVERIFY(storeMovedCounters().isEmpty());
        QCOMPARE(lastSeen(), (QList<int> {5, 3, 2, 1, 4, 0, 7, 2}));
        QVERIFY(!counterBaselineRequired);

        rebuildChangeCounters(QStringLiteral(
            "6,3,2,1,2026-12-08 09:30:00,私募周报,4,0,2026-12-07 18:00:00,绝密简报,7,2"));
        QCOMPARE(storeMovedCounters().names(), (QList<QStringView> {u"gptjadd"}));
    }

    void baselineWaitsForReadableValues()
    {
        counterBaselineRequired = true;
        rebuildChangeCounters(QStringLiteral("5,3,x,1,a b,c,4,0,d e,f,7,2"));
        QVERIFY(!failureText([] { storeMovedCounters(); }).isEmpty());
        QVERIFY(counterBaselineRequired);
    }

    void failedCallKeepsTheList()
    {
        rebuildChangeCounters(serverAnswer);
        UserDJ = QStringLiteral("1");
        pointClientAt(deadServer());
        QVERIFY(!failureText([] { LoadChangeCounters(); }).isEmpty());
        QCOMPARE(changeCounters, serverAnswerEntries);
    }

    void loadFromTheReferenceServer()
    {
        TestServer server;
        QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
        pointClientAt(server.baseUrl());
        UserDJ = QStringLiteral("2");

        LoadChangeCounters();
        QCOMPARE(changeCounters.size(), 12);
        const QStringList keys = {"gptjadd",   "gptjsx",    "smncadd", "smncsx",
                                  "smncaddsj", "smncaddbt", "smjmadd", "smjmsx",
                                  "smjmaddsj", "smjmaddbt", "spzxadd", "spzxsx"};
        for (int i = 0; i < keys.size(); ++i)
            QVERIFY(changeCounters.at(i).startsWith(keys.at(i) + u'='));
        QVERIFY(changeCounterValue(u"smncaddsj").contains(u' ')); // date, blank, time: whole
        storeAllLastSeenValues();
        const QList<int> before = lastSeen();

        // A new alert for this level and a bulletin whose title holds a blank.
        server.command(QStringLiteral("publish-alert"),
                       {"--level", "2", "--code", "600519", "--price", "1688.00", "--action",
                        "买入", "--reason", "放量突破"});
        QVERIFY(server.lastCommandOk());
        server.command(QStringLiteral("publish-bulletin"),
                       {"--kind", "1", "--title", "周末 私募 观点"});
        QVERIFY(server.lastCommandOk());

        LoadChangeCounters();
        QCOMPARE(changeCounterValue(u"smncaddbt"), QStringLiteral("周末 私募 观点"));
        QCOMPARE(storeMovedCounters().names(), (QList<QStringView> {u"gptjadd", u"smncadd"}));
        QVERIFY(gptjadd != before.at(0));
    }
};

int main(int argc, char *argv[])
{
    TestEnvironment environment;
    QCoreApplication app(argc, argv);
    TestClientCounters test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_client_counters.moc"
