// The operator's command line: what each command stores (read back from the file), what it
// prints (never a password), the demo seed, and clear refusals that change nothing.
#include "ReadOnlyDatabase.h"
#include "ServerTestData.h"
#include "SoapTestClient.h"
#include "TestServer.h"
#include "service/Statements.h"

#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace ServerTestData;

namespace {

struct CommandResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the binary; one still running after timeoutMs (a serve that should have refused to
// start) is killed and answers exit code -1.
CommandResult runServerBinary(const QStringList &arguments, int timeoutMs = 30000)
{
    QProcess process;
    TestServer::dieWithTestProcess(process);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TIPDESK_SERVER_FIXED_NOW"), timeText(FixedNow));
    process.setProcessEnvironment(environment);
    process.start(TestServer::serverBinary(), arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

CommandResult serveBriefly(const QString &dbPath)
{
    return runServerBinary({QStringLiteral("serve"), QStringLiteral("--db"), dbPath,
                            QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")},
                           5000);
}

// The names of the tables in an SQLite file.
QStringList tablesOf(const QString &dbPath)
{
    QStringList names;
    for (const QVariantList &row : queryServerDatabase(
             dbPath,
             QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY "
                            "name")))
        names.append(row.value(0).toString());
    return names;
}

} // namespace

class TestServerCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void publishStoresExactly();
    void editChangesOnlyWhatIsGiven();
    void deleteRemoves();
    void configSetsNullsAndDeletes();
    void usersAndLoginsNeverPrintPasswords();
    void versionAndHelpNeedNothingElse();
    void refusalsAreClearAndChangeNothing_data();
    void refusalsAreClearAndChangeNothing();
    void demoSeed();
    void schemaOnlySeedIsEmpty();
    void passwordOnTheCommandLineWarns();
    void databaseFilesAreOwnerOnly();
    void applicationsHaveAQuotaAndTheOperatorClearsThem();
    void noLogLineCarriesAPassword();
    void foreignDatabaseIsRefused();
    void damagedDatabaseIsRefused();

private:
    QString fingerprint() const;
    std::unique_ptr<TestServer> m_server;
};

void TestServerCommands::initTestCase()
{
    m_server = std::make_unique<TestServer>(false, QStringList(), FixedNow);
    QVERIFY2(m_server->isRunning(), qPrintable(m_server->errorText()));
}

QString TestServerCommands::fingerprint() const
{
    ReadOnlyDatabase db(m_server->databasePath());
    QStringList parts;
    for (const char *table : {"UserTable", "NewUser", "userdl", "Sys_pz", "Sys_url",
                              "Tuijiangupiao", "spzx", "GongGao", "ChangeCounters"}) {
        for (const QVariantList &row :
             db.rows(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)))) {
            for (const QVariant &value : row)
                parts.append(value.isNull() ? QStringLiteral("<null>") : value.toString());
        }
        parts.append(QStringLiteral("|"));
    }
    return parts.join(QLatin1Char(','));
}

void TestServerCommands::publishStoresExactly()
{
    const QString id = m_server->command(
        QStringLiteral("publish-alert"),
        {QStringLiteral("--level"), QStringLiteral("2"), QStringLiteral("--code"),
         QStringLiteral("600519"), QStringLiteral("--price"), QStringLiteral("1675.00"),
         QStringLiteral("--action"), QStringLiteral("买入"), QStringLiteral("--reason"),
         QStringLiteral("主力资金\"持续\"流入, 'A'股 <强势>"), QStringLiteral("--time"),
         QStringLiteral("2026-11-30 09:31:05")});
    QVERIFY2(m_server->lastCommandOk(), qPrintable(m_server->lastCommandError()));
    ReadOnlyDatabase db(m_server->databasePath());
    QCOMPARE(
        db.rows(QStringLiteral("SELECT XinXiDJ, nowtime, gupiaodaima, jg, czfs, czly FROM "
                               "Tuijiangupiao WHERE id = ")
                + id),
        (QList<QVariantList> {{2, QStringLiteral("2026-11-30 09:31:05"), QStringLiteral("600519"),
                               QStringLiteral("1675.00"), QStringLiteral("买入"),
                               QStringLiteral("主力资金\"持续\"流入, 'A'股 <强势>")}}));

    // The same text comes back through the service, escaped once on the way.
    SoapTestClient client(m_server->baseUrl());
    const QList<ResultRow> rows =
        client.rows(QStringLiteral("select top 30 * from Tuijiangupiao order by id desc "));
    QCOMPARE(rows.value(0).value(QStringLiteral("czly")),
             QStringLiteral("主力资金\"持续\"流入, 'A'股 <强势>"));

    const QString infoId = m_server->command(
        QStringLiteral("publish-info"),
        {QStringLiteral("--level"), QStringLiteral("3"), QStringLiteral("--type"),
         QStringLiteral("盘中提示"), QStringLiteral("--text"), QStringLiteral("两市放量")});
    QVERIFY(m_server->lastCommandOk());
    const QVariantList info =
        db.rows(QStringLiteral("SELECT XinXiDJ, zxlx, zxnr, nowtime FROM spzx WHERE id = ")
                + infoId)
            .value(0);
    QCOMPARE(info.mid(0, 3),
             (QVariantList {3, QStringLiteral("盘中提示"), QStringLiteral("两市放量")}));
    // Without --time the entry is stamped with the server's clock (fixed here).
    QCOMPARE(info.at(3).toString(), QStringLiteral("2026-12-08 10:30:00"));

    const QString bulletinId = m_server->command(
        QStringLiteral("publish-bulletin"),
        {QStringLiteral("--kind"), QStringLiteral("1"), QStringLiteral("--title"),
         QStringLiteral("私募内参"), QStringLiteral("--body"), QStringLiteral("正文")});
    QVERIFY(m_server->lastCommandOk());
    QCOMPARE(db.rows(QStringLiteral("SELECT kind, XinXiDJ, title, body FROM GongGao WHERE id = ")
                     + bulletinId)
                 .value(0),
             (QVariantList {1, 3, QStringLiteral("私募内参"), QStringLiteral("正文")}));
}

void TestServerCommands::editChangesOnlyWhatIsGiven()
{
    const QString id = QString::number(publishAlert(
        *m_server, 1, QDateTime(QDate(2026, 1, 2), QTime(10, 0)), QStringLiteral("000001")));
    m_server->command(QStringLiteral("edit-alert"),
                      {QStringLiteral("--id"), id, QStringLiteral("--action"),
                       QStringLiteral("卖出"), QStringLiteral("--level"), QStringLiteral("3")});
    QVERIFY2(m_server->lastCommandOk(), qPrintable(m_server->lastCommandError()));
    ReadOnlyDatabase db(m_server->databasePath());
    QCOMPARE(db.rows(QStringLiteral("SELECT XinXiDJ, nowtime, gupiaodaima, jg, czfs, czly FROM "
                                    "Tuijiangupiao WHERE id = ")
                     + id),
             (QList<QVariantList> {{3, QStringLiteral("2026-01-02 10:00:00"),
                                    QStringLiteral("000001"), QStringLiteral("12.34"),
                                    QStringLiteral("卖出"), QStringLiteral("放量突破")}}));
}

void TestServerCommands::deleteRemoves()
{
    const QString id = QString::number(publishInfo(*m_server, 0, QDateTime::currentDateTime()));
    m_server->command(QStringLiteral("delete-info"), {QStringLiteral("--id"), id});
    QVERIFY(m_server->lastCommandOk());
    ReadOnlyDatabase db(m_server->databasePath());
    QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM spzx WHERE id = ") + id).toInt(), 0);
}

void TestServerCommands::configSetsNullsAndDeletes()
{
    SoapTestClient client(m_server->baseUrl());
    m_server->command(QStringLiteral("config"),
                      {QStringLiteral("gpsysname=测试 系统"), QStringLiteral("khdsxsj=7"),
                       QStringLiteral("an3mc=私募绝密"), QStringLiteral("an3url=http://x/?a=b")});
    QVERIFY2(m_server->lastCommandOk(), qPrintable(m_server->lastCommandError()));
    QList<ResultRow> config = SoapTestClient::parseRows(client.result(QStringLiteral("hqSys_pz")));
    QCOMPARE(config.value(0).value(QStringLiteral("gpsysname")), QStringLiteral("测试 系统"));
    QCOMPARE(config.value(0).value(QStringLiteral("khdsxsj")), QStringLiteral("7"));
    QCOMPARE(client.rows(QStringLiteral("select * from Sys_url"))
                 .value(0)
                 .value(QStringLiteral("an3url")),
             QStringLiteral("http://x/?a=b"));

    m_server->command(
        QStringLiteral("config"),
        {QStringLiteral("--null"), QStringLiteral("khdsxsj"), QStringLiteral("kfqq=")});
    QVERIFY(m_server->lastCommandOk());
    config = SoapTestClient::parseRows(client.result(QStringLiteral("hqSys_pz")));
    QVERIFY(!config.value(0).contains(QStringLiteral("khdsxsj")));
    QCOMPARE(config.value(0).value(QStringLiteral("kfqq")), QString());
    QVERIFY(config.value(0).contains(QStringLiteral("kfqq")));
    {
        ReadOnlyDatabase db(m_server->databasePath());
        QVERIFY(db.value(QStringLiteral("SELECT khdsxsj FROM Sys_pz")).isNull());
    }

    const QString printed = m_server->command(QStringLiteral("config"));
    QVERIFY(printed.contains(QStringLiteral("gpsysname=测试 系统")));

    m_server->command(QStringLiteral("config"), {QStringLiteral("--delete-toolbar")});
    QVERIFY(m_server->lastCommandOk());
    QCOMPARE(client.result(QStringLiteral("hqsametable"),
                           {{QStringLiteral("strsql"), QStringLiteral("select * from Sys_url")}}),
             QStringLiteral("<NewDataSet />"));
    m_server->command(QStringLiteral("config"), {QStringLiteral("--delete-config")});
    QCOMPARE(client.result(QStringLiteral("hqSys_pz")), QStringLiteral("<NewDataSet />"));
    m_server->command(QStringLiteral("config"), {QStringLiteral("yhqyhyfj=true")});
    QVERIFY(m_server->lastCommandOk());
}

void TestServerCommands::usersAndLoginsNeverPrintPasswords()
{
    const QString secret = QStringLiteral("S3cr3t'密码");
    const QString id = m_server->command(QStringLiteral("add-user"),
                                         {QStringLiteral("--name"), QStringLiteral("李四"),
                                          QStringLiteral("--level"), QStringLiteral("2")},
                                         secret.toUtf8() + '\n');
    QVERIFY2(m_server->lastCommandOk(), qPrintable(m_server->lastCommandError()));
    QVERIFY(!id.contains(secret));
    SoapTestClient client(m_server->baseUrl());
    QCOMPARE(
        client.execute(
            QStringLiteral("Insert into userdl(userid,userzh,userpas,userdlsj,userdlip) values(")
            + id + QStringLiteral(",'李四','S3cr3t''密码',now(),'10.1.2.3' )")),
        QStringLiteral("true"));

    const QString users = m_server->command(QStringLiteral("users"));
    QVERIFY(users.contains(id + QStringLiteral("\t李四\t2")));
    QVERIFY(!users.contains(secret));
    QVERIFY(!users.contains(QStringLiteral("S3cr3t")));
    const QString logins = m_server->command(QStringLiteral("logins"));
    QVERIFY(logins.contains(id + QStringLiteral("\t李四\t")));
    QVERIFY(logins.contains(QStringLiteral("\t10.1.2.3")));
    QVERIFY(!logins.contains(QStringLiteral("S3cr3t")));

    // A failing command does not echo the password either.
    const TestServer::CommandResult refused =
        m_server->tryCommand(QStringLiteral("add-user"),
                             {QStringLiteral("--name"), QStringLiteral("李四"),
                              QStringLiteral("--level"), QStringLiteral("2")},
                             secret.toUtf8() + '\n');
    QVERIFY(!refused.ok);
    QVERIFY(!refused.err.contains(QStringLiteral("S3cr3t")));
}

void TestServerCommands::versionAndHelpNeedNothingElse()
{
    for (const QString &argument : {QStringLiteral("--version"), QStringLiteral("--help")}) {
        QProcess server;
        server.start(TestServer::serverBinary(), {argument});
        QVERIFY(server.waitForFinished(10000));
        QCOMPARE(server.exitCode(), 0);
        const QString out = QString::fromUtf8(server.readAllStandardOutput());
        QVERIFY2(out.startsWith(argument == u"--version" ? QStringLiteral("tipdesk-server ")
                                                         : QStringLiteral("usage:")),
                 qPrintable(out));
    }
}

void TestServerCommands::refusalsAreClearAndChangeNothing_data()
{
    QTest::addColumn<QStringList>("arguments"); // without --db
    QTest::addColumn<QString>("says");

    QTest::newRow("unknown command")
        << QStringList {QStringLiteral("publish-everything")} << QStringLiteral("unknown command");
    QTest::newRow("missing option") << QStringList {QStringLiteral("publish-alert"),
                                                    QStringLiteral("--level"), QStringLiteral("1")}
                                    << QStringLiteral("--code");
    // A publish-info that would be accepted but for its level or what a row adds.
    const auto info = [](const QString &level, const QStringList &more = {}) {
        return QStringList {QStringLiteral("publish-info"),
                            QStringLiteral("--level"),
                            level,
                            QStringLiteral("--type"),
                            QStringLiteral("t"),
                            QStringLiteral("--text"),
                            QStringLiteral("x")}
        + more;
    };
    QTest::newRow("level out of range") << info(QStringLiteral("4")) << QStringLiteral("--level");
    QTest::newRow("time in another form")
        << info(QStringLiteral("1"), {QStringLiteral("--time"), QStringLiteral("2026/12/8 9:30")})
        << QStringLiteral("yyyy-MM-dd hh:mm:ss");
    QTest::newRow("impossible time") << info(
        QStringLiteral("1"), {QStringLiteral("--time"), QStringLiteral("2026-02-30 09:30:00")})
                                     << QStringLiteral("--time");
    QTest::newRow("bulletin kind 3")
        << QStringList {QStringLiteral("publish-bulletin"), QStringLiteral("--kind"),
                        QStringLiteral("3"), QStringLiteral("--title"), QStringLiteral("t")}
        << QStringLiteral("--kind");
    QTest::newRow("control character")
        << QStringList {QStringLiteral("publish-bulletin"), QStringLiteral("--kind"),
                        QStringLiteral("1"), QStringLiteral("--title"), QStringLiteral("a\x01b")}
        << QStringLiteral("--title holds a control character");
    QTest::newRow("control character, named by its option")
        << QStringList {QStringLiteral("publish-alert"),
                        QStringLiteral("--level"),
                        QStringLiteral("1"),
                        QStringLiteral("--code"),
                        QStringLiteral("600519"),
                        QStringLiteral("--price"),
                        QStringLiteral("1"),
                        QStringLiteral("--action"),
                        QStringLiteral("buy"),
                        QStringLiteral("--reason"),
                        QStringLiteral("a\x02z")}
        << QStringLiteral("--reason holds a control character");
    QTest::newRow("control character in an edit")
        << QStringList {QStringLiteral("edit-info"), QStringLiteral("--id"), QStringLiteral("1"),
                        QStringLiteral("--text"), QStringLiteral("a\x03z")}
        << QStringLiteral("--text holds a control character");
    QTest::newRow("edit of no alert")
        << QStringList {QStringLiteral("edit-alert"), QStringLiteral("--id"),
                        QStringLiteral("987654"), QStringLiteral("--price"), QStringLiteral("1")}
        << QStringLiteral("no alert with id 987654");
    QTest::newRow("edit without change")
        << QStringList {QStringLiteral("edit-alert"), QStringLiteral("--id"), QStringLiteral("1")}
        << QStringLiteral("nothing to change");
    QTest::newRow("delete of no bulletin")
        << QStringList {QStringLiteral("delete-bulletin"), QStringLiteral("--id"),
                        QStringLiteral("987654")}
        << QStringLiteral("no bulletin");
    QTest::newRow("approve unknown")
        << QStringList {QStringLiteral("approve"), QStringLiteral("nobody")}
        << QStringLiteral("no pending application");
    QTest::newRow("kick without login")
        << QStringList {QStringLiteral("kick"), QStringLiteral("987654")}
        << QStringLiteral("no login row");
    QTest::newRow("user level 3") << QStringList {
        QStringLiteral("add-user"),   QStringLiteral("--name"), QStringLiteral("x"),
        QStringLiteral("--password"), QStringLiteral("y"),      QStringLiteral("--level"),
        QStringLiteral("3")} << QStringLiteral("--level");
    QTest::newRow("unknown config key")
        << QStringList {QStringLiteral("config"), QStringLiteral("gpsysname=x"),
                        QStringLiteral("password=y")}
        << QStringLiteral("unknown configuration key");
    QTest::newRow("config without value")
        << QStringList {QStringLiteral("config"), QStringLiteral("gpsysname")}
        << QStringLiteral("KEY=VALUE");
    QTest::newRow("port in use")
        << QStringList {QStringLiteral("serve"), QStringLiteral("--listen"),
                        QStringLiteral("127.0.0.1:%1").arg(m_server->port())}
        << QStringLiteral("cannot listen");
    QTest::newRow("listen without port")
        << QStringList {QStringLiteral("serve"), QStringLiteral("--listen"),
                        QStringLiteral("127.0.0.1")}
        << QStringLiteral("ADDR:PORT");
    QTest::newRow("demo without base")
        << QStringList {QStringLiteral("seed"), QStringLiteral("--demo")}
        << QStringLiteral("--base");
    QTest::newRow("demo into a used database")
        << QStringList {QStringLiteral("seed"), QStringLiteral("--demo"), QStringLiteral("--base"),
                        QStringLiteral("http://127.0.0.1:1/")}
        << QStringLiteral("already holds");
}

void TestServerCommands::refusalsAreClearAndChangeNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, says);
    // Make sure the database has content, so "changes nothing" means something.
    publishAlert(*m_server, 3, FixedNow);
    const QString before = fingerprint();
    const CommandResult result = runServerBinary(
        QStringList {arguments.value(0), QStringLiteral("--db"), m_server->databasePath()}
        + arguments.mid(1));
    QVERIFY(result.exitCode > 0);
    QVERIFY2(result.err.contains(says), qPrintable(result.err));
    QCOMPARE(result.out, QString());
    QCOMPARE(fingerprint(), before);
}

void TestServerCommands::demoSeed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("demo.db"));
    const CommandResult seeded = runServerBinary(
        {QStringLiteral("seed"), QStringLiteral("--db"), path, QStringLiteral("--demo"),
         QStringLiteral("--base"), QStringLiteral("http://127.0.0.1:8080/")});
    QCOMPARE(seeded.exitCode, 0);
    QVERIFY(seeded.out.contains(QStringLiteral("张三")));
    QVERIFY(!seeded.out.contains(QStringLiteral("zhang123")));

    ReadOnlyDatabase db(path);
    QCOMPARE(db.rows(QStringLiteral("SELECT DISTINCT UserDJ FROM UserTable ORDER BY UserDJ")),
             (QList<QVariantList> {{0}, {1}, {2}}));
    QCOMPARE(
        db.value(QStringLiteral("SELECT count(*) FROM UserTable WHERE username = '张三'")).toInt(),
        1);
    QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM UserTable WHERE userpas LIKE '%''%'"))
                 .toInt(),
             1);
    const QString today = FixedNow.date().toString(Qt::ISODate);
    QVERIFY(db.value(QStringLiteral("SELECT count(*) FROM Tuijiangupiao WHERE nowtime LIKE '%1%'")
                         .arg(today))
                .toInt()
            >= 3);
    QVERIFY(
        db.value(
              QStringLiteral("SELECT count(*) FROM Tuijiangupiao WHERE nowtime < '%1'").arg(today))
            .toInt()
        >= 3);
    QVERIFY(
        db.value(QStringLiteral(
                     "SELECT count(DISTINCT XinXiDJ) FROM Tuijiangupiao WHERE nowtime LIKE '%1%'")
                     .arg(today))
            .toInt()
        >= 3);
    QVERIFY(
        db.value(QStringLiteral("SELECT count(*) FROM spzx WHERE nowtime LIKE '%1%'").arg(today))
            .toInt()
        >= 2);
    QVERIFY(db.value(QStringLiteral("SELECT count(*) FROM spzx WHERE nowtime < '%1'").arg(today))
                .toInt()
            >= 1);
    QCOMPARE(db.rows(QStringLiteral("SELECT kind, count(*) FROM GongGao GROUP BY kind")),
             (QList<QVariantList> {{1, 2}, {2, 2}}));
    QCOMPARE(db.value(QStringLiteral("SELECT khdsxsj FROM Sys_pz")).toString(),
             QStringLiteral("5"));
    QCOMPARE(db.value(QStringLiteral("SELECT an4url FROM Sys_url")).toString().left(22),
             QStringLiteral("http://127.0.0.1:8080/"));
    QCOMPARE(db.value(QStringLiteral("SELECT an11mc FROM Sys_url")).toString(),
             QStringLiteral("系统设置"));
}

void TestServerCommands::schemaOnlySeedIsEmpty()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.db"));
    QCOMPARE(runServerBinary({QStringLiteral("seed"), QStringLiteral("--db"), path}).exitCode, 0);
    ReadOnlyDatabase db(path);
    for (const char *table : {"UserTable", "NewUser", "userdl", "Sys_pz", "Sys_url",
                              "Tuijiangupiao", "spzx", "GongGao"})
        QCOMPARE(
            db.value(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))).toInt(),
            0);
    QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM ChangeCounters")).toInt(), 3);
}

void TestServerCommands::passwordOnTheCommandLineWarns()
{
    const QString id = m_server->command(QStringLiteral("add-user"),
                                         {QStringLiteral("--name"), QStringLiteral("wang"),
                                          QStringLiteral("--password"), QStringLiteral("pw-w"),
                                          QStringLiteral("--level"), QStringLiteral("0")});
    QVERIFY2(m_server->lastCommandOk(), qPrintable(m_server->lastCommandError()));
    QVERIFY(id.toLongLong() > 0);
    QVERIFY2(m_server->lastCommandError().contains(QStringLiteral("warning")),
             qPrintable(m_server->lastCommandError()));
    QVERIFY(!m_server->lastCommandError().contains(QStringLiteral("pw-w")));

    // Without a password on standard input there is no account.
    const TestServer::CommandResult empty =
        m_server->tryCommand(QStringLiteral("add-user"),
                             {QStringLiteral("--name"), QStringLiteral("zhao"),
                              QStringLiteral("--level"), QStringLiteral("0")});
    QVERIFY(!empty.ok);
    QVERIFY2(empty.err.contains(QStringLiteral("standard input")), qPrintable(empty.err));
}

void TestServerCommands::databaseFilesAreOwnerOnly()
{
    // The running server holds the -wal and -shm files open beside the database.
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QFileInfo file(m_server->databasePath() + suffix);
        QVERIFY2(file.exists(), qPrintable(file.filePath()));
        QCOMPARE(file.permissions()
                     & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
                 QFile::Permissions());
    }
}

void TestServerCommands::applicationsHaveAQuotaAndTheOperatorClearsThem()
{
    SoapTestClient client(m_server->baseUrl());
    const auto apply = [&](int n) {
        return client.execute(Statements::insertApplication(QStringLiteral("申请人%1").arg(n),
                                                            QStringLiteral("pw-%1").arg(n),
                                                            QStringLiteral("1390000%1").arg(n)));
    };
    for (int n = 1; n <= 20; ++n)
        QCOMPARE(apply(n), QStringLiteral("true"));
    QCOMPARE(apply(21), QStringLiteral("false")); // the address's quota for the hour is used up

    const QStringList pending =
        m_server->command(QStringLiteral("applications")).split(QLatin1Char('\n'));
    QCOMPARE(pending.size(), 20);
    QVERIFY2(pending.first().endsWith(QStringLiteral("\t申请人1\t2026-12-08\t13900001")),
             qPrintable(pending.first()));
    QVERIFY(!pending.join(QLatin1Char('\n')).contains(QStringLiteral("pw-")));

    m_server->command(QStringLiteral("reject"), {QStringLiteral("申请人1")});
    QVERIFY(m_server->lastCommandOk());
    const TestServer::CommandResult unknown =
        m_server->tryCommand(QStringLiteral("reject"), {QStringLiteral("申请人1")});
    QVERIFY(!unknown.ok);
    QVERIFY2(unknown.err.contains(QStringLiteral("no pending application")),
             qPrintable(unknown.err));
    QCOMPARE(m_server->command(QStringLiteral("reject"), {QStringLiteral("--all")}),
             QStringLiteral("19"));
    QCOMPARE(m_server->command(QStringLiteral("applications")), QString());
    // Clearing them does not renew the quota.
    QCOMPARE(apply(22), QStringLiteral("false"));
}

void TestServerCommands::noLogLineCarriesAPassword()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.db"));
    const QString secret = QStringLiteral("Zq7-secret-Pw");
    QCOMPARE(runServerBinary({QStringLiteral("add-user"), QStringLiteral("--db"), path,
                              QStringLiteral("--name"), QStringLiteral("logcheck"),
                              QStringLiteral("--level"), QStringLiteral("2"),
                              QStringLiteral("--password"), secret})
                 .exitCode,
             0);
    // Every logging category on, Qt's own included.
    QProcess serve;
    TestServer::dieWithTestProcess(serve);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=true"));
    serve.setProcessEnvironment(environment);
    serve.start(TestServer::serverBinary(),
                {QStringLiteral("serve"), QStringLiteral("--db"), path, QStringLiteral("--listen"),
                 QStringLiteral("127.0.0.1:0")});
    QTRY_VERIFY_WITH_TIMEOUT(serve.canReadLine(), 10000);
    const QString base = QString::fromUtf8(serve.readLine()).trimmed().section(u' ', 1);
    SoapTestClient client(base);
    const SoapParameters credentials {{QStringLiteral("username"), QStringLiteral("logcheck")},
                                      {QStringLiteral("userpass"), secret}};
    QCOMPARE(client.result(QStringLiteral("yanzheng"), credentials), QStringLiteral("True"));
    QVERIFY(!client.result(QStringLiteral("hqdlyhxx"), credentials).isEmpty());
    QCOMPARE(
        client
            .get(QStringLiteral("qzGongGaoXinXi.aspx?userdj=2&username=logcheck&userpas=") + secret)
            .status,
        200);
    QCOMPARE(
        client.execute(Statements::insertLoginRow(QStringLiteral("1"), QStringLiteral("logcheck"),
                                                  secret, QStringLiteral("127.0.0.1"))),
        QStringLiteral("true"));
    serve.terminate();
    QVERIFY(serve.waitForFinished(10000));
    const QString log = QString::fromUtf8(serve.readAllStandardError());
    QVERIFY2(log.contains(QStringLiteral("qzGongGaoXinXi.aspx")), "the request log is off");
    QVERIFY2(!log.contains(secret), qPrintable(log));
}

void TestServerCommands::foreignDatabaseIsRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("other.db"));
    {
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QSqlQuery query(other);
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE notes (text TEXT)")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO notes VALUES ('keep')")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));

    const CommandResult served = serveBriefly(path);
    QCOMPARE(served.exitCode, 1);
    QVERIFY2(served.err.contains(QStringLiteral("is not a TipDesk database")),
             qPrintable(served.err));
    QCOMPARE(tablesOf(path), QStringList {QStringLiteral("notes")});

    // Asked to, seed puts TipDesk's tables beside the others.
    QCOMPARE(runServerBinary({QStringLiteral("seed"), QStringLiteral("--db"), path}).exitCode, 0);
    QVERIFY(tablesOf(path).contains(QStringLiteral("UserTable")));
    QCOMPARE(queryServerDatabase(path, QStringLiteral("SELECT text FROM notes")).value(0).value(0),
             QVariant(QStringLiteral("keep")));
}

void TestServerCommands::damagedDatabaseIsRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("damaged.db"));
    QCOMPARE(runServerBinary({QStringLiteral("seed"), QStringLiteral("--db"), path,
                              QStringLiteral("--demo"), QStringLiteral("--base"),
                              QStringLiteral("http://127.0.0.1:8080/")})
                 .exitCode,
             0);
    // Overwrite the root page of the alerts (page 10, after the schema's other tables).
    const QVariant root = queryServerDatabase(path,
                                              QStringLiteral("SELECT rootpage FROM "
                                                             "sqlite_master WHERE name = "
                                                             "'Tuijiangupiao'"))
                              .value(0)
                              .value(0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek((root.toLongLong() - 1) * 4096));
    file.write(QByteArray(4096, '\xab'));
    file.close();

    const CommandResult served = serveBriefly(path);
    QCOMPARE(served.exitCode, 1);
    QVERIFY2(served.err.contains(QStringLiteral("is damaged")), qPrintable(served.err));
    QCOMPARE(served.err.count(QLatin1Char('\n')), 1); // one line
}

QTEST_GUILESS_MAIN(TestServerCommands)
#include "tst_server_commands.moc"
