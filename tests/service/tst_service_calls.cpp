// Every operation of the service, over HTTP against the reference operator server.
#include "AppErrorText.h"
#include "ServiceTarget.h"
#include "TestServer.h"

#include "service/Conversions.h"
#include "service/ResultDocument.h"
#include "service/Statements.h"
#include "service/WebService.h"

#include <QTest>

namespace {
const QString awkwardName = QStringLiteral("张 三<&>'\"");
const QString awkwardPassword = QStringLiteral("p'w&<>\"密");
} // namespace

class TestServiceCalls : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    QString userId;

private Q_SLOTS:
    void initTestCase()
    {
        server = std::make_unique<TestServer>();
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
        pointClientAt(server->baseUrl());
        userId =
            server->command(QStringLiteral("add-user"),
                            {QStringLiteral("--name"), awkwardName, QStringLiteral("--password"),
                             awkwardPassword, QStringLiteral("--level"), QStringLiteral("1")});
        QVERIFY(server->lastCommandOk());
        QVERIFY(toInteger(userId) > 0);
    }

    void configurationRoundTrip()
    {
        const QString name = QStringLiteral("测试<&>'系统\"");
        server->command(QStringLiteral("config"), {QStringLiteral("gpsysname=") + name});
        QVERIFY(server->lastCommandOk());
        const ResultDocument configuration = ResultDocument::parse(NewServiceProxy()->hqSys_pz());
        QCOMPARE(configuration.rowCount(), 1);
        QCOMPARE(configuration.value(0, u"gpsysname"), name);

        const ResultDocument toolbar =
            ResultDocument::parse(NewServiceProxy()->hqsametable(Statements::toolbarRecord()));
        QCOMPARE(toolbar.rowCount(), 1);
        QVERIFY(!toolbar.value(0, u"an1mc").isEmpty());
    }

    void credentialsAndAccountRecord()
    {
        QVERIFY(toBoolean(NewServiceProxy()->yanzheng(awkwardName, awkwardPassword)));
        QVERIFY(!toBoolean(
            NewServiceProxy()->yanzheng(awkwardName, awkwardPassword + QLatin1Char('x'))));

        const ResultDocument account =
            ResultDocument::parse(NewServiceProxy()->hqdlyhxx(awkwardName, awkwardPassword));
        QCOMPARE(account.rowCount(), 1);
        QCOMPARE(account.value(0, u"id"), userId);
        QCOMPARE(account.value(0, u"username"), awkwardName);
        QCOMPARE(account.value(0, u"userpas"), awkwardPassword);
        QCOMPARE(account.value(0, u"UserDJ"), QStringLiteral("1"));

        const ResultDocument nobody = ResultDocument::parse(
            NewServiceProxy()->hqdlyhxx(awkwardName, QStringLiteral("wrong")));
        QCOMPARE(nobody.rowCount(), 0);
    }

    void loginRowLifecycle()
    {
        auto service = [] { return NewServiceProxy(); };
        QCOMPARE(service()->hqsfczjl(Statements::loginRowCount(userId)), 0);
        QCOMPARE(service()->hqdlsj(userId), QString());

        QCOMPARE(trimmedText(service()->zhixing(Statements::insertLoginRow(
                     userId, awkwardName, awkwardPassword, QStringLiteral("10.0.0.1")))),
                 QStringLiteral("true"));
        QCOMPARE(service()->hqsfczjl(Statements::loginRowCount(userId)), 1);
        const QString firstStamp = service()->hqdlsj(userId);
        QVERIFY(!firstStamp.isEmpty());

        QCOMPARE(trimmedText(service()->zhixing(Statements::updateLoginRow(
                     userId, awkwardName, awkwardPassword, QStringLiteral("10.0.0.2")))),
                 QStringLiteral("true"));
        QCOMPARE(service()->hqsfczjl(Statements::loginRowCount(userId)), 1);
        QVERIFY(service()->hqdlsj(userId) != firstStamp); // another login changes the stamp

        service()->zhixing(Statements::deleteLoginRow(userId));
        QCOMPARE(service()->hqsfczjl(Statements::loginRowCount(userId)), 0);
    }

    void contentQueriesCarryChineseText()
    {
        const QString reason = QStringLiteral("放量突破 <年线> & \"量比\" 'x'");
        server->command(QStringLiteral("publish-alert"),
                        {QStringLiteral("--level"), QStringLiteral("3"), QStringLiteral("--code"),
                         QStringLiteral("600519"), QStringLiteral("--price"),
                         QStringLiteral("1688.00"), QStringLiteral("--action"),
                         QStringLiteral("买入"), QStringLiteral("--reason"), reason});
        QVERIFY(server->lastCommandOk());
        const ResultDocument today = ResultDocument::parse(
            NewServiceProxy()->hqsametable(Statements::todaysAlerts(true, QStringLiteral("1"))));
        QVERIFY(today.rowCount() >= 1);
        QCOMPARE(today.value(0, u"czly"), reason); // newest first
        QCOMPARE(today.value(0, u"czfs"), QStringLiteral("买入"));
    }

    void countersMoveOnPublish()
    {
        const QString before = NewServiceProxy()->ifchangetable(1);
        QVERIFY(!before.isEmpty());
        server->command(QStringLiteral("publish-info"),
                        {QStringLiteral("--level"), QStringLiteral("1"), QStringLiteral("--type"),
                         QStringLiteral("个股"), QStringLiteral("--text"),
                         QStringLiteral("午后关注")});
        QVERIFY(server->lastCommandOk());
        QVERIFY(NewServiceProxy()->ifchangetable(1) != before);
    }

    void countOfNothingIsZero()
    {
        QCOMPARE(
            NewServiceProxy()->hqsfczjl(Statements::accountNameCount(QStringLiteral("没有这个人"))),
            0);
        QCOMPARE(NewServiceProxy()->hqsfczjl(
                     Statements::pendingApplicationCount(QStringLiteral("没有这个人"))),
                 0);
        // A name built to widen the condition finds nothing: it arrives as one literal.
        QCOMPARE(NewServiceProxy()->hqsfczjl(
                     Statements::accountNameCount(QStringLiteral("x') or ('1'='1"))),
                 0);
        QCOMPARE(NewServiceProxy()->hqsfczjl(Statements::accountNameCount(awkwardName)), 1);
    }

    // The password change and the application insert as the client writes them, values with
    // quotes included, change exactly what they should.
    void writesOfAccountsAndApplications()
    {
        const QString newPassword = QStringLiteral("新'密码\" or ''=''");
        QCOMPARE(trimmedText(
                     NewServiceProxy()->zhixing(Statements::changePassword(newPassword, userId))),
                 QStringLiteral("true"));
        QVERIFY(toBoolean(NewServiceProxy()->yanzheng(awkwardName, newPassword)));
        QVERIFY(!toBoolean(NewServiceProxy()->yanzheng(awkwardName, awkwardPassword)));
        NewServiceProxy()->zhixing(Statements::changePassword(awkwardPassword, userId));
        QVERIFY(toBoolean(NewServiceProxy()->yanzheng(awkwardName, awkwardPassword)));

        const QString applicant = QStringLiteral("申请人 o'hara");
        QCOMPARE(NewServiceProxy()->hqsfczjl(Statements::pendingApplicationCount(applicant)), 0);
        QCOMPARE(trimmedText(NewServiceProxy()->zhixing(Statements::insertApplication(
                     applicant, QStringLiteral("p'"), QStringLiteral("139")))),
                 QStringLiteral("true"));
        QCOMPARE(NewServiceProxy()->hqsfczjl(Statements::pendingApplicationCount(applicant)), 1);
    }

    void alertsOfADateRange()
    {
        const QDate today = QDate::currentDate();
        const ResultDocument range = ResultDocument::parse(NewServiceProxy()->hqsametable(
            Statements::alertsBetween(false, QString(), today, today)));
        const ResultDocument todays = ResultDocument::parse(
            NewServiceProxy()->hqsametable(Statements::todaysAlerts(false, QString())));
        QCOMPARE(range.rowCount(), todays.rowCount());
        QVERIFY(range.rowCount() > 0);
        const ResultDocument reversed = ResultDocument::parse(NewServiceProxy()->hqsametable(
            Statements::alertsBetween(true, QStringLiteral("2"), today, today.addDays(-1))));
        QCOMPARE(reversed.rowCount(), 0);
    }

    // Binding through the service description reaches the endpoint it names.
    void bindingThroughTheDescription()
    {
        const auto proxy = NewServiceProxy(true);
        QCOMPARE(proxy->endpoint(), QUrl(server->baseUrl() + QStringLiteral("qzWebService.asmx")));
        QCOMPARE(ResultDocument::parse(proxy->hqSys_pz()).rowCount(), 1);
        const QString missing = failureText(
            [this] { NewServiceProxy(true, server->baseUrl() + QStringLiteral("nothing?wsdl")); });
        QVERIFY2(missing.contains(QStringLiteral("服务描述")), qPrintable(missing));
    }

    void declaredArithmetic()
    {
        QCOMPARE(NewServiceProxy()->addition(1.5, 2.25), 3.75);
        QCOMPARE(NewServiceProxy()->jian(5, 1.5), 3.5);
    }

    void refusedStatementIsAFault()
    {
        const QString text = failureText(
            [] { NewServiceProxy()->hqsametable(QStringLiteral("select * from UserTable")); });
        QVERIFY2(text.contains(QStringLiteral("not allowed")), qPrintable(text));
        const QString drop =
            failureText([] { NewServiceProxy()->zhixing(QStringLiteral("drop table UserTable")); });
        QVERIFY2(drop.contains(QStringLiteral("not allowed")), qPrintable(drop));
        QVERIFY(toBoolean(
            NewServiceProxy()->yanzheng(awkwardName, awkwardPassword))); // nothing was dropped
    }

    void serverDownIsAnError()
    {
        server->stop();
        const QString text = failureText([] { NewServiceProxy()->hqSys_pz(); });
        QVERIFY2(text.startsWith(QStringLiteral("无法连接服务器")), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestServiceCalls)
#include "tst_service_calls.moc"
