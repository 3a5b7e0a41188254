// The demo database seeded at different times of day: nothing lies after the server's clock,
// every table keeps publishing order, the alert window's two opening lists agree, and an alert
// published right after the seed is the newest one shown.
#include "ReadOnlyDatabase.h"
#include "ServerTestData.h"
#include "SoapTestClient.h"
#include "TestServer.h"

#include <QTest>

using namespace ServerTestData;

namespace {

const char *const ContentTables[] = {"Tuijiangupiao", "spzx", "GongGao"};

} // namespace

class TestServerDemoSeed : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void seededAtTimeOfDay_data();
    void seededAtTimeOfDay();
};

void TestServerDemoSeed::seededAtTimeOfDay_data()
{
    QTest::addColumn<QTime>("clock");
    QTest::newRow("just after midnight") << QTime(0, 5, 0);
    QTest::newRow("before the market opens") << QTime(9, 0, 0);
    QTest::newRow("late at night") << QTime(23, 59, 0);
}

void TestServerDemoSeed::seededAtTimeOfDay()
{
    QFETCH(QTime, clock);
    const QDateTime now(FixedNow.date(), clock);
    TestServer server(true, {}, now);
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));

    const QString nowText = timeText(now);
    const QString todayStart = timeText(QDateTime(now.date(), QTime(0, 0)));
    ReadOnlyDatabase db(server.databasePath());
    for (const char *table : ContentTables) {
        const QList<QStringList> rows = textRows(db.rows(
            QStringLiteral("SELECT nowtime FROM %1 ORDER BY id").arg(QLatin1String(table))));
        QVERIFY(!rows.isEmpty());
        int today = 0;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QString time = rows.at(i).value(0);
            QVERIFY2(time <= nowText, qPrintable(QStringLiteral("%1: %2").arg(table, time)));
            if (i > 0)
                QVERIFY2(rows.at(i - 1).value(0) < time,
                         qPrintable(QStringLiteral("%1: %2 after %3")
                                        .arg(table, time, rows.at(i - 1).value(0))));
            if (time >= todayStart)
                ++today;
        }
        QVERIFY2(today >= 2, table);
    }

    SoapTestClient client(server.baseUrl());
    // The alert window opens with yesterday..today in its pickers (the client asks up to the
    // day after) beside the latest 30 alerts: the same rows, before 查询 is pressed.
    const QString from = now.date().addDays(-1).toString(Qt::ISODate);
    const QString to = now.date().addDays(1).toString(Qt::ISODate);
    for (int level : {-1, 0, 1, 2}) {
        const QList<qint64> latest = idsOf(client.rows(latestAlerts(level)));
        QVERIFY(!latest.isEmpty());
        QCOMPARE(latest, idsOf(client.rows(alertsInRange(level, from, to))));
    }

    const qint64 published = publishAlert(server, 3, now);
    const QList<ResultRow> today = client.rows(alertsToday(-1));
    QVERIFY(today.size() >= 2);
    QCOMPARE(today.constFirst().value(QStringLiteral("id")).toLongLong(), published);
    const QString newest = today.constFirst().value(QStringLiteral("nowtime"));
    for (const ResultRow &row : today)
        QVERIFY(row.value(QStringLiteral("nowtime")) <= newest);
}

QTEST_GUILESS_MAIN(TestServerDemoSeed)
#include "tst_server_demo_seed.moc"
