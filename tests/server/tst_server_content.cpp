// What the statements mean: day and level filtering, top 30, date ranges, counters that move
// for the right levels, the login and account writes, and injection attempts that find nothing
// and change nothing. Runs a server process on a database it fills itself.
#include "ReadOnlyDatabase.h"
#include "ServerTestData.h"
#include "SoapTestClient.h"
#include "TestServer.h"
#include "service/Statements.h"

#include <QSet>
#include <QTest>

using namespace ServerTestData;

class TestServerContent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void dayAndLevelFiltering_data();
    void dayAndLevelFiltering();
    void topThirtyNewestFirst_data();
    void topThirtyNewestFirst();
    void dateRange_data();
    void dateRange();
    void countersMoveForTheRightLevels_data();
    void countersMoveForTheRightLevels();
    void bulletinCountersCarryTimeAndTitle();
    void passwordChangeAndApplication();
    void injectionAttemptsAreHarmless_data();
    void injectionAttemptsAreHarmless();
    void refusedWriteChangesNothing();

private:
    void setFiltering(bool on);
    QString fingerprint() const;

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<SoapTestClient> m_client;
    QDate m_today;
    QHash<QString, qint64> m_ids; // named entries of the current test
};

void TestServerContent::initTestCase()
{
    // The server's clock stands at a fixed time: "today" must not move under the test at midnight.
    m_server = std::make_unique<TestServer>(false, QStringList(), FixedNow);
    QVERIFY2(m_server->isRunning(), qPrintable(m_server->errorText()));
    m_client = std::make_unique<SoapTestClient>(m_server->baseUrl());
    m_server->command(QStringLiteral("add-user"),
                      {QStringLiteral("--name"), QStringLiteral("zhang"),
                       QStringLiteral("--password"), QStringLiteral("pw1"),
                       QStringLiteral("--level"), QStringLiteral("1")});
    m_server->command(QStringLiteral("add-user"),
                      {QStringLiteral("--name"), QStringLiteral("Zhang"),
                       QStringLiteral("--password"), QStringLiteral("pw2"),
                       QStringLiteral("--level"), QStringLiteral("2")});
    QVERIFY(m_server->lastCommandOk());
}

void TestServerContent::init()
{
    m_today = FixedNow.date();
    m_ids.clear();
    setFiltering(true);
}

void TestServerContent::setFiltering(bool on)
{
    m_server->command(QStringLiteral("config"),
                      {on ? QStringLiteral("yhqyhyfj=true") : QStringLiteral("yhqyhyfj=false")});
    QVERIFY(m_server->lastCommandOk());
}

// Everything a write could have touched, to prove that nothing was.
QString TestServerContent::fingerprint() const
{
    ReadOnlyDatabase db(m_server->databasePath());
    QStringList parts;
    for (const char *sql :
         {"SELECT * FROM UserTable ORDER BY id", "SELECT * FROM NewUser ORDER BY id",
          "SELECT * FROM userdl ORDER BY userid", "SELECT * FROM Tuijiangupiao ORDER BY id",
          "SELECT * FROM ChangeCounters ORDER BY userdj", "SELECT * FROM Sys_pz"}) {
        for (const QVariantList &row : db.rows(QLatin1String(sql))) {
            for (const QVariant &value : row)
                parts.append(value.toString());
        }
        parts.append(QStringLiteral("|"));
    }
    return parts.join(QLatin1Char(','));
}

void TestServerContent::dayAndLevelFiltering_data()
{
    QTest::addColumn<bool>("liveInfo");
    QTest::addColumn<int>("level"); // -1: the statement without level condition
    QTest::addColumn<QStringList>("expected");

    // Entries (see dayAndLevelFiltering): "late yesterday" L3, "midnight" L3, "L0", "L1", "L2",
    // "tomorrow" L3.
    for (bool liveInfo : {false, true}) {
        const QByteArray kind = liveInfo ? "live items" : "alerts";
        QTest::addRow("%s, level 0", kind.constData())
            << liveInfo << 0 << QStringList {QStringLiteral("L0"), QStringLiteral("midnight")};
        QTest::addRow("%s, level 1", kind.constData())
            << liveInfo << 1 << QStringList {QStringLiteral("L1"), QStringLiteral("midnight")};
        QTest::addRow("%s, level 2", kind.constData())
            << liveInfo << 2 << QStringList {QStringLiteral("L2"), QStringLiteral("midnight")};
        QTest::addRow("%s, all levels", kind.constData())
            << liveInfo << -1
            << QStringList {QStringLiteral("L2"), QStringLiteral("L1"), QStringLiteral("L0"),
                            QStringLiteral("midnight")};
    }
}

void TestServerContent::dayAndLevelFiltering()
{
    QFETCH(bool, liveInfo);
    QFETCH(int, level);
    QFETCH(QStringList, expected);

    const auto publish = [&](int entryLevel, const QDateTime &time) {
        return liveInfo ? publishInfo(*m_server, entryLevel, time)
                        : publishAlert(*m_server, entryLevel, time);
    };
    const QDateTime midnight(m_today, QTime(0, 0));
    // Published in this order, so ids ascend: the answer lists them newest (highest id) first.
    m_ids.insert(QStringLiteral("late yesterday"), publish(3, midnight.addSecs(-1)));
    m_ids.insert(QStringLiteral("midnight"), publish(3, midnight));
    m_ids.insert(QStringLiteral("L0"), publish(0, midnight.addSecs(3600)));
    m_ids.insert(QStringLiteral("L1"), publish(1, midnight.addSecs(7200)));
    m_ids.insert(QStringLiteral("L2"), publish(2, midnight.addSecs(86399)));
    m_ids.insert(QStringLiteral("tomorrow"), publish(3, midnight.addDays(1)));

    const QList<ResultRow> rows =
        m_client->rows(liveInfo ? liveInfoToday(level) : alertsToday(level));
    // Earlier tests left entries of other days and ids; only this test's entries count here.
    QList<qint64> ids;
    for (qint64 id : idsOf(rows)) {
        if (m_ids.values().contains(id))
            ids.append(id);
    }
    QList<qint64> wanted;
    for (const QString &name : expected)
        wanted.append(m_ids.value(name));
    QCOMPARE(ids, wanted);
    for (const ResultRow &row : rows) {
        const int rowLevel = row.value(QStringLiteral("XinXiDJ")).toInt();
        QVERIFY(level < 0 || rowLevel == level || rowLevel == 3);
        QVERIFY(row.value(QStringLiteral("nowtime"))
                    .startsWith(m_today.toString(Qt::ISODate) + QLatin1Char('T')));
    }
}

void TestServerContent::topThirtyNewestFirst_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("all levels") << -1;
    QTest::newRow("level 0") << 0;
    QTest::newRow("level 2") << 2;
}

void TestServerContent::topThirtyNewestFirst()
{
    QFETCH(int, level);
    // 64 alerts over several days, levels 0..3 in turn: 32 for every level filter.
    static QList<qint64> published;
    if (published.isEmpty()) {
        const QDateTime start(m_today.addDays(-40), QTime(10, 0));
        for (int i = 0; i < 64; ++i)
            published.append(publishAlert(*m_server, i % 4, start.addDays(i % 9).addSecs(i)));
    }
    const QList<ResultRow> rows = m_client->rows(latestAlerts(level));
    QCOMPARE(rows.size(), 30);
    const QList<qint64> ids = idsOf(rows);
    for (qsizetype i = 1; i < ids.size(); ++i)
        QVERIFY(ids.at(i) < ids.at(i - 1));
    for (const ResultRow &row : rows) {
        const int rowLevel = row.value(QStringLiteral("XinXiDJ")).toInt();
        QVERIFY(level < 0 || rowLevel == level || rowLevel == 3);
    }
    // The newest alert this filter sees comes first.
    qint64 newestSeen = 0;
    for (qsizetype i = 0; i < published.size(); ++i) {
        if (level < 0 || int(i % 4) == level || i % 4 == 3)
            newestSeen = published.at(i);
    }
    QCOMPARE(ids.first(), newestSeen);
    QCOMPARE(m_client->count(latestAlerts(level)), 30);
}

void TestServerContent::dateRange_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("expected");

    // Entries (see dateRange) around the days D (2031-03-04) .. D+2.
    const QStringList wholeRange {QStringLiteral("D+2 midnight"), QStringLiteral("D+1 noon L1"),
                                  QStringLiteral("D midnight")};
    QTest::newRow("ISO, all levels")
        << -1 << QStringLiteral("2031-03-04") << QStringLiteral("2031-03-06") << wholeRange;
    QTest::newRow("locale form, all levels")
        << -1 << QStringLiteral("2031/3/4") << QStringLiteral("2031/3/6") << wholeRange;
    QTest::newRow("level 1") << 1 << QStringLiteral("2031-03-04") << QStringLiteral("2031-03-06")
                             << wholeRange;
    QTest::newRow("level 2") << 2 << QStringLiteral("2031-03-04") << QStringLiteral("2031-03-06")
                             << QStringList {QStringLiteral("D+2 midnight"),
                                             QStringLiteral("D midnight")};
    QTest::newRow("one day") << -1 << QStringLiteral("2031-03-05") << QStringLiteral("2031-03-06")
                             << QStringList {QStringLiteral("D+2 midnight"),
                                             QStringLiteral("D+1 noon L1")};
    QTest::newRow("reversed") << -1 << QStringLiteral("2031-03-06") << QStringLiteral("2031-03-04")
                              << QStringList {};
}

void TestServerContent::dateRange()
{
    QFETCH(int, level);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, expected);

    static QHash<QString, qint64> entries;
    if (entries.isEmpty()) {
        const QDateTime d(QDate(2031, 3, 4), QTime(0, 0));
        entries.insert(QStringLiteral("D-1 last second"),
                       publishAlert(*m_server, 3, d.addSecs(-1)));
        entries.insert(QStringLiteral("D midnight"), publishAlert(*m_server, 3, d));
        entries.insert(QStringLiteral("D+1 noon L1"),
                       publishAlert(*m_server, 1, d.addDays(1).addSecs(12 * 3600)));
        entries.insert(QStringLiteral("D+2 midnight"), publishAlert(*m_server, 3, d.addDays(2)));
        entries.insert(QStringLiteral("D+2 one second later"),
                       publishAlert(*m_server, 3, d.addDays(2).addSecs(1)));
    }
    const QString sql = alertsInRange(level, from, to);
    const QList<ResultRow> rows = m_client->rows(sql);
    QList<qint64> wanted;
    for (const QString &name : expected)
        wanted.append(entries.value(name));
    QCOMPARE(idsOf(rows), wanted);
    QCOMPARE(m_client->count(sql), int(wanted.size()));
    if (expected.isEmpty()) {
        QCOMPARE(m_client->result(QStringLiteral("hqsametable"), {{QStringLiteral("strsql"), sql}}),
                 QStringLiteral("<NewDataSet />"));
    }
}

void TestServerContent::countersMoveForTheRightLevels_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("entryLevel");
    QTest::addColumn<bool>("filtering");
    QTest::addColumn<int>("item"); // position in the split counter text
    QTest::addColumn<QList<int>>("moved");

    QTest::newRow("alert for members")
        << QStringLiteral("publish-alert") << 1 << true << 0 << QList<int> {0, 1, 0};
    QTest::newRow("alert for everyone")
        << QStringLiteral("publish-alert") << 3 << true << 0 << QList<int> {1, 1, 1};
    QTest::newRow("alert for VIP, filtering off")
        << QStringLiteral("publish-alert") << 2 << false << 0 << QList<int> {1, 1, 1};
    QTest::newRow("live item for ordinary users")
        << QStringLiteral("publish-info") << 0 << true << 12 << QList<int> {1, 0, 0};
    QTest::newRow("edit an alert for VIP")
        << QStringLiteral("edit-alert") << 2 << true << 1 << QList<int> {0, 0, 1};
    QTest::newRow("delete a live item for everyone")
        << QStringLiteral("delete-info") << 3 << true << 13 << QList<int> {1, 1, 1};
}

void TestServerContent::countersMoveForTheRightLevels()
{
    QFETCH(QString, command);
    QFETCH(int, entryLevel);
    QFETCH(bool, filtering);
    QFETCH(int, item);
    QFETCH(QList<int>, moved);

    setFiltering(filtering);
    const QDateTime now = FixedNow;
    qint64 id = 0;
    if (command.endsWith(QLatin1String("-alert")) && !command.startsWith(QLatin1String("publish")))
        id = publishAlert(*m_server, entryLevel, now);
    if (command.endsWith(QLatin1String("-info")) && !command.startsWith(QLatin1String("publish")))
        id = publishInfo(*m_server, entryLevel, now);

    QList<QStringList> before;
    for (int level = 0; level < 3; ++level)
        before.append(m_client->counters(level));

    if (command == u"publish-alert")
        publishAlert(*m_server, entryLevel, now);
    else if (command == u"publish-info")
        publishInfo(*m_server, entryLevel, now);
    else if (command == u"edit-alert")
        m_server->command(command,
                          {QStringLiteral("--id"), QString::number(id), QStringLiteral("--price"),
                           QStringLiteral("9.99")});
    else
        m_server->command(command, {QStringLiteral("--id"), QString::number(id)});
    QVERIFY2(m_server->lastCommandOk(), qPrintable(m_server->lastCommandError()));

    for (int level = 0; level < 3; ++level) {
        const QStringList after = m_client->counters(level);
        QCOMPARE(after.size(), 14);
        for (int position : {0, 1, 2, 3, 7, 8, 12, 13}) {
            const int expected = position == item ? moved.at(level) : 0;
            QCOMPARE(after.at(position).toInt() - before.at(level).at(position).toInt(), expected);
        }
    }
}

void TestServerContent::bulletinCountersCarryTimeAndTitle()
{
    const QStringList before = m_client->counters(0);
    m_server->command(QStringLiteral("publish-bulletin"),
                      {QStringLiteral("--kind"), QStringLiteral("2"), QStringLiteral("--title"),
                       QStringLiteral("周评, \"重点\" 关注"), QStringLiteral("--time"),
                       QStringLiteral("2031-01-02 03:04:05")});
    QVERIFY2(m_server->lastCommandOk(), qPrintable(m_server->lastCommandError()));
    const QStringList after = m_client->counters(0);
    QCOMPARE(after.size(), 14);
    QCOMPARE(after.at(7).toInt(), before.at(7).toInt() + 1);
    QCOMPARE(after.at(9) + QLatin1Char(' ') + after.at(10), QStringLiteral("2031-01-02 03:04:05"));
    QCOMPARE(after.at(11), QStringLiteral("周评, \"重点\" 关注"));
    QCOMPARE(after.at(2), before.at(2));
}

void TestServerContent::passwordChangeAndApplication()
{
    const QString id = SoapTestClient::parseRows(
                           m_client->result(QStringLiteral("hqdlyhxx"),
                                            {{QStringLiteral("username"), QStringLiteral("zhang")},
                                             {QStringLiteral("userpass"), QStringLiteral("pw1")}}))
                           .value(0)
                           .value(QStringLiteral("id"));
    QVERIFY(!id.isEmpty());
    const QString newPassword = QStringLiteral("新'密码");
    QCOMPARE(m_client->execute(Statements::changePassword(newPassword, id)),
             QStringLiteral("true"));
    QCOMPARE(m_client->result(QStringLiteral("yanzheng"),
                              {{QStringLiteral("username"), QStringLiteral("zhang")},
                               {QStringLiteral("userpass"), newPassword}}),
             QStringLiteral("True"));
    // The account differing only in letter case kept its password.
    QCOMPARE(m_client->result(QStringLiteral("yanzheng"),
                              {{QStringLiteral("username"), QStringLiteral("Zhang")},
                               {QStringLiteral("userpass"), QStringLiteral("pw2")}}),
             QStringLiteral("True"));

    const QString name = QStringLiteral("王五");
    const QString application = QStringLiteral("select * from NewUser where (StrComp(usetrname,'")
        + name + QStringLiteral("',0)=0) ");
    QCOMPARE(m_client->count(application), 0);
    QCOMPARE(m_client->execute(
                 QStringLiteral("Insert into NewUser(usetrname,zcmm,zhucetime,shouji) values('")
                 + name + QStringLiteral("','wang''s',date(),'13800138000'  ) ")),
             QStringLiteral("true"));
    QCOMPARE(m_client->count(application), 1);
    {
        ReadOnlyDatabase db(m_server->databasePath());
        const QVariantList row =
            db.rows(QStringLiteral("SELECT usetrname, zcmm, zhucetime, shouji FROM NewUser"))
                .value(0);
        QCOMPARE(row,
                 (QVariantList {name, QStringLiteral("wang's"), m_today.toString(Qt::ISODate),
                                QStringLiteral("13800138000")}));
    }
    // Applying twice with the same name is refused by the database.
    QCOMPARE(m_client->execute(
                 QStringLiteral("Insert into NewUser(usetrname,zcmm,zhucetime,shouji) values('")
                 + name + QStringLiteral("','x',date(),''  ) ")),
             QStringLiteral("false"));

    const QString newId = m_server->command(QStringLiteral("approve"), {name});
    QVERIFY2(m_server->lastCommandOk(), qPrintable(m_server->lastCommandError()));
    QVERIFY(newId.toLongLong() > 0);
    QCOMPARE(m_client->count(application), 0);
    QCOMPARE(m_client->count(QStringLiteral("select * from UserTable where (StrComp(username,'")
                             + name + QStringLiteral("',0)=0) ")),
             1);
    const QList<ResultRow> account = SoapTestClient::parseRows(
        m_client->result(QStringLiteral("hqdlyhxx"),
                         {{QStringLiteral("username"), name},
                          {QStringLiteral("userpass"), QStringLiteral("wang's")}}));
    QCOMPARE(account.value(0).value(QStringLiteral("UserDJ")), QStringLiteral("0"));
    QCOMPARE(account.value(0).value(QStringLiteral("id")), newId);
}

void TestServerContent::injectionAttemptsAreHarmless_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected"); // empty: a fault

    const QString attack = QStringLiteral("x') or ('1'='1");
    QTest::newRow("account lookup, quotes doubled")
        << QStringLiteral("hqsfczjl") << QStringLiteral("strsql")
        << Statements::accountNameCount(attack) << QStringLiteral("0");
    QTest::newRow("application lookup, quotes doubled")
        << QStringLiteral("hqsfczjl") << QStringLiteral("strsql")
        << Statements::pendingApplicationCount(attack) << QStringLiteral("0");
    QTest::newRow("account lookup, raw quotes")
        << QStringLiteral("hqsfczjl") << QStringLiteral("strsql")
        << QStringLiteral("select * from UserTable where (StrComp(username,'") + attack
            + QStringLiteral("',0)=0) ")
        << QString();
    QTest::newRow("password change reaching other rows, raw")
        << QStringLiteral("zhixing") << QStringLiteral("sql")
        << QStringLiteral("update UserTable set userpas= 'x' where id=1 or '1'='1' where id=1")
        << QString();
    QTest::newRow("password change, level raised")
        << QStringLiteral("zhixing") << QStringLiteral("sql")
        << QStringLiteral("update UserTable set userpas= 'x', UserDJ=2 where id=1") << QString();
    QTest::newRow("delete with condition")
        << QStringLiteral("zhixing") << QStringLiteral("sql")
        << QStringLiteral("delete from userdl where userid=1 or 1=1") << QString();
    QTest::newRow("level with condition")
        << QStringLiteral("hqsametable") << QStringLiteral("strsql")
        << alertsToday(1).replace(QStringLiteral("=1 or"), QStringLiteral("=1 or 1=1 or"))
        << QString();
    QTest::newRow("stacked statement")
        << QStringLiteral("hqsametable") << QStringLiteral("strsql")
        << QStringLiteral("select * from Sys_url; delete from UserTable") << QString();
}

void TestServerContent::injectionAttemptsAreHarmless()
{
    QFETCH(QString, operation);
    QFETCH(QString, parameter);
    QFETCH(QString, sql);
    QFETCH(QString, expected);

    const QString before = fingerprint();
    const HttpAnswer answer = m_client->call(operation, {{parameter, sql}});
    if (expected.isEmpty()) {
        QCOMPARE(answer.status, 500);
        QVERIFY(SoapTestClient::faultOf(answer.body)
                    .second.contains(QStringLiteral("Statement is not allowed")));
    } else {
        QCOMPARE(answer.status, 200);
        QCOMPARE(SoapTestClient::resultOf(answer.body, operation), expected);
    }
    QCOMPARE(fingerprint(), before);
}

void TestServerContent::refusedWriteChangesNothing()
{
    // A quoted password change stays one literal: only that account's password changes.
    const QString before = fingerprint();
    const QString sneaky = QStringLiteral("x' where id=1 or '1'='1");
    QCOMPARE(m_client->execute(Statements::changePassword(sneaky, QStringLiteral("999999"))),
             QStringLiteral("true"));
    QCOMPARE(fingerprint(), before);
}

QTEST_GUILESS_MAIN(TestServerContent)
#include "tst_server_content.moc"
