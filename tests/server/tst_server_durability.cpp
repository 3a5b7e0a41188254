// A publish the command reports as done survives kill -9 of the server that reads the same
// file, and so does a write the server acknowledged; the counters agree after the restart.
#include "ServerTestData.h"
#include "SoapTestClient.h"
#include "TestServer.h"

#include <QTest>

using namespace ServerTestData;

class TestServerDurability : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void publishesSurviveKillNine();
    void acknowledgedServiceWriteSurvivesKillNine();
};

void TestServerDurability::publishesSurviveKillNine()
{
    TestServer server(false, {}, FixedNow);
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
    server.command(QStringLiteral("config"), {QStringLiteral("yhqyhyfj=true")});

    const QString todaysAlerts = alertsToday(-1);
    QList<qint64> published;
    for (int round = 0; round < 3; ++round) {
        {
            SoapTestClient client(server.baseUrl());
            // Poll while publishing, as clients do, so the server holds the file open and busy.
            client.counters(0);
            published.append(
                publishAlert(server, 3, FixedNow, QStringLiteral("60000%1").arg(round)));
            published.append(publishAlert(server, 1, FixedNow));
            client.counters(1);
        }
        server.killHard();
        QVERIFY(!server.isRunning());
        server.start();
        QVERIFY2(server.isRunning(), qPrintable(server.errorText()));

        SoapTestClient client(server.baseUrl());
        QList<qint64> ids;
        for (const ResultRow &row : client.rows(todaysAlerts))
            ids.prepend(row.value(QStringLiteral("id")).toLongLong());
        QCOMPARE(ids, published);
        // Level 0 sees the level-3 alerts only; level 1 sees all of them.
        QCOMPARE(client.counters(0).at(0).toInt(), int(published.size() / 2));
        QCOMPARE(client.counters(1).at(0).toInt(), int(published.size()));
        QCOMPARE(client.counters(2).at(0).toInt(), int(published.size() / 2));
    }
}

void TestServerDurability::acknowledgedServiceWriteSurvivesKillNine()
{
    TestServer server(false);
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
    const QString id = server.command(QStringLiteral("add-user"),
                                      {QStringLiteral("--name"), QStringLiteral("durable"),
                                       QStringLiteral("--password"), QStringLiteral("pw"),
                                       QStringLiteral("--level"), QStringLiteral("0")});
    QString stamp;
    {
        SoapTestClient client(server.baseUrl());
        QCOMPARE(client.execute(
                     QStringLiteral(
                         "Insert into userdl(userid,userzh,userpas,userdlsj,userdlip) values(")
                     + id + QStringLiteral(",'durable','pw',now(),'10.0.0.1' )")),
                 QStringLiteral("true"));
        stamp = client.result(QStringLiteral("hqdlsj"), {{QStringLiteral("userid"), id}});
        QVERIFY(!stamp.isEmpty());
    }
    server.killHard();
    server.start();
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
    SoapTestClient client(server.baseUrl());
    QCOMPARE(client.result(QStringLiteral("hqdlsj"), {{QStringLiteral("userid"), id}}), stamp);
}

QTEST_GUILESS_MAIN(TestServerDurability)
#include "tst_server_durability.moc"
