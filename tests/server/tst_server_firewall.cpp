// The statement firewall: every statement text the client builds is accepted with its values
// extracted, and anything that differs from those texts in the slightest is refused.
#include "ServerTestData.h"
#include "service/Statements.h"
#include "statements/StatementFirewall.h"

#include <QDate>
#include <QTest>

using namespace server;

namespace {

// The client's own texts; an empty level means the variant without the level condition.
QString alertsToday(const QString &level)
{
    return Statements::todaysAlerts(!level.isEmpty(), level);
}

QString latestAlerts(const QString &level)
{
    return Statements::latestAlerts(!level.isEmpty(), level);
}

QString liveInfoToday(const QString &level)
{
    return Statements::todaysLiveItems(!level.isEmpty(), level);
}

QString alertsInRange(const QString &level, const QString &from, const QString &to)
{
    return ServerTestData::alertsInRange(level.isEmpty() ? -1 : level.toInt(), from, to);
}

using Statements::changePassword;
using Statements::insertApplication;

QString accountNamed(const QString &name)
{
    return Statements::accountNameCount(name);
}

QString applicationNamed(const QString &name)
{
    return Statements::pendingApplicationCount(name);
}

QString insertLogin(const QString &id, const QString &name, const QString &password,
                    const QString &ip)
{
    return Statements::insertLoginRow(id, name, password, ip);
}

QString updateLogin(const QString &id, const QString &name, const QString &password,
                    const QString &ip)
{
    return Statements::updateLoginRow(id, name, password, ip);
}

} // namespace

class TestStatementFirewall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void acceptsEveryClientStatement_data();
    void acceptsEveryClientStatement();
    void refusesNearMisses_data();
    void refusesNearMisses();
    void quotedValuesStayOneLiteral_data();
    void quotedValuesStayOneLiteral();

private:
    StatementFirewall m_firewall;
};

void TestStatementFirewall::acceptsEveryClientStatement_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("use");
    QTest::addColumn<bool>("levelFiltered");
    QTest::addColumn<QVariantList>("values");

    const int rows = int(StatementUse::Rows);
    const int count = int(StatementUse::Count);
    const int write = int(StatementUse::Write);

    QTest::newRow("toolbar") << QStringLiteral("select * from Sys_url")
                             << int(StatementKind::ToolbarRecord) << rows << false
                             << QVariantList {};
    for (const QString &level : {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}) {
        const QByteArray tag = level.toLatin1();
        QTest::addRow("alerts today, level %s", tag.constData())
            << alertsToday(level) << int(StatementKind::AlertsToday) << rows << true
            << QVariantList {level.toLongLong()};
        QTest::addRow("latest 30, level %s", tag.constData())
            << latestAlerts(level) << int(StatementKind::LatestAlerts) << rows << true
            << QVariantList {level.toLongLong()};
        QTest::addRow("range, level %s", tag.constData())
            << alertsInRange(level, QStringLiteral("2026-12-07"), QStringLiteral("2026-12-09"))
            << int(StatementKind::AlertsInRange) << rows << true
            << QVariantList {level.toLongLong(), QDate(2026, 12, 7), QDate(2026, 12, 9)};
        QTest::addRow("live items today, level %s", tag.constData())
            << liveInfoToday(level) << int(StatementKind::LiveInfoToday) << rows << true
            << QVariantList {level.toLongLong()};
    }
    QTest::newRow("alerts today, all levels")
        << alertsToday({}) << int(StatementKind::AlertsToday) << rows << false << QVariantList {};
    QTest::newRow("latest 30, all levels")
        << latestAlerts({}) << int(StatementKind::LatestAlerts) << rows << false << QVariantList {};
    QTest::newRow("range, all levels")
        << alertsInRange({}, QStringLiteral("2026-12-07"), QStringLiteral("2026-12-09"))
        << int(StatementKind::AlertsInRange) << rows << false
        << QVariantList {QDate(2026, 12, 7), QDate(2026, 12, 9)};
    QTest::newRow("range, locale dates")
        << alertsInRange({}, QStringLiteral("2026/1/7"), QStringLiteral("2026/12/31"))
        << int(StatementKind::AlertsInRange) << rows << false
        << QVariantList {QDate(2026, 1, 7), QDate(2026, 12, 31)};
    QTest::newRow("live items today, all levels")
        << liveInfoToday({}) << int(StatementKind::LiveInfoToday) << rows << false
        << QVariantList {};

    QTest::newRow("login row of user")
        << QStringLiteral(" select * from userdl where userid=") + QStringLiteral("17")
        << int(StatementKind::LoginRowOfUser) << count << false << QVariantList {17LL};
    QTest::newRow("account named")
        << accountNamed(QStringLiteral("张三")) << int(StatementKind::AccountNamed) << count
        << false << QVariantList {QStringLiteral("张三")};
    QTest::newRow("application named")
        << applicationNamed(QStringLiteral("new user")) << int(StatementKind::ApplicationNamed)
        << count << false << QVariantList {QStringLiteral("new user")};

    QTest::newRow("insert login row")
        << insertLogin(QStringLiteral("4"), QStringLiteral("张三"), QStringLiteral("p'w"),
                       QStringLiteral("10.0.0.8"))
        << int(StatementKind::InsertLoginRow) << write << false
        << QVariantList {4LL, QStringLiteral("张三"), QStringLiteral("p'w"),
                         QStringLiteral("10.0.0.8")};
    QTest::newRow("update login row")
        << updateLogin(QStringLiteral("4"), QStringLiteral("张三"), QStringLiteral("pw"),
                       QStringLiteral("0.0.0.0"))
        << int(StatementKind::UpdateLoginRow) << write << false
        << QVariantList {QStringLiteral("张三"), QStringLiteral("pw"), QStringLiteral("0.0.0.0"),
                         4LL};
    QTest::newRow("update login row, empty address")
        << updateLogin(QStringLiteral("4"), QStringLiteral("a"), QStringLiteral("b"), QString())
        << int(StatementKind::UpdateLoginRow) << write << false
        << QVariantList {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral(""), 4LL};
    QTest::newRow("delete login row")
        << QStringLiteral("delete from userdl where userid=") + QStringLiteral("4")
        << int(StatementKind::DeleteLoginRow) << write << false << QVariantList {4LL};
    QTest::newRow("change password")
        << changePassword(QStringLiteral("new pass"), QStringLiteral("12"))
        << int(StatementKind::ChangePassword) << write << false
        << QVariantList {QStringLiteral("new pass"), 12LL};
    QTest::newRow("insert application")
        << insertApplication(QStringLiteral("李四"), QStringLiteral(""),
                             QStringLiteral("13800138000"))
        << int(StatementKind::InsertApplication) << write << false
        << QVariantList {QStringLiteral("李四"), QStringLiteral(""), QStringLiteral("13800138000")};
}

void TestStatementFirewall::acceptsEveryClientStatement()
{
    QFETCH(QString, sql);
    QFETCH(int, kind);
    QFETCH(int, use);
    QFETCH(bool, levelFiltered);
    QFETCH(QVariantList, values);

    const std::optional<MatchedStatement> matched = m_firewall.match(sql);
    QVERIFY2(matched, qPrintable(QStringLiteral("refused: [") + sql + QLatin1Char(']')));
    QCOMPARE(int(matched->shape->kind), kind);
    QCOMPARE(int(matched->shape->use), use);
    QCOMPARE(matched->shape->levelFiltered, levelFiltered);
    QCOMPARE(matched->values, values);
}

void TestStatementFirewall::refusesNearMisses_data()
{
    QTest::addColumn<QString>("sql");

    const QString today = alertsToday(QStringLiteral("1"));
    QTest::newRow("empty") << QString();
    QTest::newRow("blank added inside") << QString(today).replace(
        QStringLiteral("where (XinXiDJ"), QStringLiteral("where  (XinXiDJ"));
    QTest::newRow("double blank made single")
        << QString(alertsToday({}))
               .replace(QStringLiteral("where  datediff"), QStringLiteral("where datediff"));
    QTest::newRow("trailing blank dropped") << today.chopped(1);
    QTest::newRow("extra trailing blank") << today + QLatin1Char(' ');
    QTest::newRow("semicolon appended") << today + QLatin1Char(';');
    QTest::newRow("second statement") << today + QStringLiteral("; delete from UserTable");
    QTest::newRow("union select")
        << QString(latestAlerts({}))
               .replace(QStringLiteral("order by id desc "),
                        QStringLiteral("union select * from UserTable order by id desc "));
    QTest::newRow("comment") << today + QStringLiteral("--");
    QTest::newRow("block comment")
        << QString(today).replace(QStringLiteral("select *"), QStringLiteral("select /**/ *"));
    QTest::newRow("other letter case")
        << QString(today).replace(QStringLiteral("select"), QStringLiteral("SELECT"));
    QTest::newRow("level is not a number") << alertsToday(QStringLiteral("1 or 1=1"));
    QTest::newRow("level is negative") << alertsToday(QStringLiteral("-1"));
    QTest::newRow("level missing")
        << QString(today).replace(QStringLiteral("XinXiDJ=1 or"), QStringLiteral("XinXiDJ= or"));
    QTest::newRow("top 31")
        << QString(latestAlerts({})).replace(QStringLiteral("top 30"), QStringLiteral("top 31"));
    QTest::newRow("other table") << QStringLiteral("select * from UserTable");
    QTest::newRow("userdl rows with passwords") << QStringLiteral("select * from userdl");
    QTest::newRow("login row without leading blank")
        << QStringLiteral("select * from userdl where userid=4");
    QTest::newRow("login row, id with text")
        << QStringLiteral(" select * from userdl where userid=4 or 1=1");
    QTest::newRow("date not a date")
        << alertsInRange({}, QStringLiteral("2026-13-40"), QStringLiteral("2026-12-09"));
    QTest::newRow("date with time")
        << alertsInRange({}, QStringLiteral("2026-12-07 00:00:00"), QStringLiteral("2026-12-09"));
    QTest::newRow("date, other order")
        << alertsInRange({}, QStringLiteral("07.12.2026"), QStringLiteral("2026-12-09"));
    QTest::newRow("date ending in a line break")
        << alertsInRange({}, QStringLiteral("2026-12-07\n"), QStringLiteral("2026-12-09"));
    QTest::newRow("date, digits of another script")
        << alertsInRange({}, QStringLiteral("２０２６-12-07"), QStringLiteral("2026-12-09"));
    QTest::newRow("raw quote in a name")
        << QStringLiteral("select * from UserTable where (StrComp(username,'")
            + QStringLiteral("x') or ('1'='1") + QStringLiteral("',0)=0) ");
    QTest::newRow("unterminated literal")
        << QStringLiteral("select * from UserTable where (StrComp(username,'abc");
    QTest::newRow("drop table") << QStringLiteral("drop table UserTable");
    QTest::newRow("delete everything") << QStringLiteral("delete from userdl");
    QTest::newRow("delete with condition added")
        << QStringLiteral("delete from userdl where userid=4 or 1=1");
    QTest::newRow("password change without blank")
        << QStringLiteral("update UserTable set userpas='x' where id=1");
    QTest::newRow("password change, raw quote")
        << QStringLiteral("update UserTable set userpas= 'x', UserDJ='2' where id=1");
    QTest::newRow("application, one blank less")
        << QString(insertApplication(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")))
               .replace(QStringLiteral("'  ) "), QStringLiteral("' ) "));
}

void TestStatementFirewall::refusesNearMisses()
{
    QFETCH(QString, sql);
    QVERIFY2(!m_firewall.match(sql),
             qPrintable(QStringLiteral("accepted: [") + sql + QLatin1Char(']')));
}

void TestStatementFirewall::quotedValuesStayOneLiteral_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("injection attempt") << QStringLiteral("x') or ('1'='1");
    QTest::newRow("quote at the end") << QStringLiteral("it'");
    QTest::newRow("quote at the start") << QStringLiteral("'start");
    QTest::newRow("only quotes") << QStringLiteral("''''");
    QTest::newRow("closing text inside") << QStringLiteral("',0)=0) ");
    QTest::newRow("semicolon and comment") << QStringLiteral("a'; drop table UserTable; --");
    QTest::newRow("Chinese") << QStringLiteral("张三");
    QTest::newRow("empty") << QString();
}

void TestStatementFirewall::quotedValuesStayOneLiteral()
{
    QFETCH(QString, name);
    for (const QString &sql : {accountNamed(name), applicationNamed(name)}) {
        const std::optional<MatchedStatement> matched = m_firewall.match(sql);
        QVERIFY2(matched, qPrintable(sql));
        QCOMPARE(matched->values, QVariantList {name});
    }
    const std::optional<MatchedStatement> insert = m_firewall.match(
        insertApplication(name, QString(name + QLatin1Char('\'')), QStringLiteral("1")));
    QVERIFY(insert);
    QCOMPARE(insert->values,
             (QVariantList {name, QString(name + QLatin1Char('\'')), QStringLiteral("1")}));
}

QTEST_GUILESS_MAIN(TestStatementFirewall)
#include "tst_server_firewall.moc"
