// What a person may type into any field (login name and password, the application's fields, the
// settings window's passwords), sent through the client's own code to the reference server. The
// server's tables prove that no statement changed its meaning: a value is stored exactly, or the
// call is refused with a clear error and nothing is half-written.
#include "ClientSession.h"
#include "ReadOnlyDatabase.h"
#include "ServiceTarget.h"
#include "TestEnvironment.h"
#include "TestServer.h"

#include "account/AccountApplication.h"
#include "account/PasswordChange.h"
#include "app/LoginRecord.h"
#include "app/UnitGlouble.h"
#include "service/AppError.h"
#include "service/Conversions.h"

#include <QCoreApplication>
#include <QTest>

#include <algorithm>
#include <memory>

class TestHostileFields : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;

    // Everything the server holds that a statement could damage, as one comparable text.
    QString tables() const
    {
        const ReadOnlyDatabase db(server->databasePath());
        QStringList parts;
        for (const char *sql :
             {"select id, username, userpas, UserDJ from UserTable order by id",
              "select usetrname, zcmm, shouji from NewUser order by usetrname",
              "select userid, userzh, userpas from userdl order by userid",
              "select count(*) from Tuijiangupiao", "select count(*) from spzx"}) {
            for (const QVariantList &row : db.rows(QString::fromLatin1(sql))) {
                QStringList cells;
                for (const QVariant &cell : row)
                    cells.append(cell.toString());
                parts.append(cells.join(u'|'));
            }
        }
        return parts.join(u'\n');
    }

    // True when the value travelled and was stored; false when the client refused it before
    // sending (a control character XML cannot carry), which must leave the tables alone.
    static bool sendable(const QString &value)
    {
        for (QChar c : value) {
            if (c.unicode() < 32 && c != u'\t' && c != u'\n' && c != u'\r')
                return false;
        }
        return true;
    }

    // Longer than any real name, password or mobile number: the server refuses to store it.
    static bool overLong(const QString &value) { return value.size() > 1000; }

    static void addHostileValues()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("quote") << QStringLiteral("'");
        QTest::newRow("two quotes") << QStringLiteral("''");
        QTest::newRow("or true") << QStringLiteral("x' or '1'='1");
        QTest::newRow("statement") << QStringLiteral("'); delete from UserTable; --");
        QTest::newRow("comment and semicolon") << QStringLiteral("a;--b/*c*/");
        QTest::newRow("control characters") << QStringLiteral("a\x01"
                                                              "b\x1f"
                                                              "c");
        QTest::newRow("tab and line break") << QStringLiteral("a\tb\nc");
        QTest::newRow("10,000 characters") << QString(10000, u'长');
        QTest::newRow("chinese") << QStringLiteral("张三丰");
        QTest::newRow("emoji") << QStringLiteral("股票📈🚀");
        QTest::newRow("percent and ampersand") << QStringLiteral("100%&a=b#c");
    }

private Q_SLOTS:
    void initTestCase()
    {
        server = std::make_unique<TestServer>();
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
        pointClientAt(server->baseUrl());
    }

    void init() { resetClientGlobals(); }

    // Login name and password: a stranger's attempt is refused and changes nothing. (One attempt
    // a value: the server slows an address down after ten failures a minute.)
    void loginFields_data() { addHostileValues(); }
    void loginFields()
    {
        QFETCH(QString, value);
        const QString before = tables();
        bool valid = true;
        try {
            valid = LoginRecord::credentialsValid(trimmedText(value), trimmedText(value));
        } catch (const AppError &failure) {
            QVERIFY2(!sendable(value), qPrintable(failure.text()));
            valid = false;
        }
        QVERIFY(!valid);
        QCOMPARE(tables(), before);
    }

    // An account whose name and password are the value logs in, and its login row holds them
    // exactly.
    void accountWithTheValueLogsIn_data() { addHostileValues(); }
    void accountWithTheValueLogsIn()
    {
        QFETCH(QString, value);
        if (trimmedText(value) != value
            || std::any_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 32; }))
            QSKIP("the operator's commands take no control characters");
        const QString name = QStringLiteral("u") + value.left(40);
        if (overLong(value)) {
            const TestServer::CommandResult refused =
                server->tryCommand(QStringLiteral("add-user"), {"--name", name, "--level", "1"},
                                   value.toUtf8() + '\n');
            QVERIFY(!refused.ok);
            QVERIFY2(refused.err.contains(QLatin1String("longer than")), qPrintable(refused.err));
            return;
        }
        const QString id = server->command(QStringLiteral("add-user"),
                                           {"--name", name, "--level", "1"}, value.toUtf8() + '\n');
        QVERIFY(server->lastCommandOk());
        QVERIFY(LoginRecord::credentialsValid(name, value));
        LoginRecord::loadAccountRecord(name, value);
        LoginRecord::writeLoginRow();
        const ReadOnlyDatabase db(server->databasePath());
        const QList<QVariantList> rows = db.rows(
            QStringLiteral("select userzh, userpas from userdl where userid = ?"), {id.toInt()});
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().at(0).toString(), name);
        QCOMPARE(rows.first().at(1).toString(), value);
    }

    // The application's three fields hold the value: it is stored exactly, or refused whole.
    void applicationFields_data() { addHostileValues(); }
    void applicationFields()
    {
        QFETCH(QString, value);
        const QString name = QStringLiteral("申请") + value.left(30);
        const QString before = tables();
        if (overLong(value)) {
            QCOMPARE(applyForAccount(name, value, value, value), ApplicationOutcome::NotFiled);
            QCOMPARE(tables(), before);
            return;
        }
        try {
            QCOMPARE(applyForAccount(name, value, value, value), ApplicationOutcome::Filed);
        } catch (const AppError &failure) {
            QVERIFY2(!sendable(value), qPrintable(failure.text()));
            QCOMPARE(tables(), before); // nothing half-written
            return;
        }
        const ReadOnlyDatabase db(server->databasePath());
        const QList<QVariantList> rows =
            db.rows(QStringLiteral("select zcmm, shouji from NewUser where usetrname = ?"),
                    {trimmedText(name)});
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().at(0).toString(), trimmedText(value));
        QCOMPARE(rows.first().at(1).toString(), trimmedText(value));
        // Applying again finds the pending application instead of filing a second one.
        QCOMPARE(applyForAccount(name, value, value, value), ApplicationOutcome::AlreadyApplied);
    }

    // The settings window's passwords: the new one is stored exactly and works at the next login.
    void passwordChangeFields_data() { addHostileValues(); }
    void passwordChangeFields()
    {
        QFETCH(QString, value);
        static int serial = 0;
        const QString name = QStringLiteral("改密%1").arg(++serial);
        server->tryCommand(QStringLiteral("add-user"), {"--name", name, "--level", "0"}, "start\n");
        ClientSession::logIn(*server, name, QStringLiteral("start"));
        const QString before = tables();
        PasswordChangeOutcome outcome = PasswordChangeOutcome::CallFailed;
        try {
            outcome = changeAccountPassword(QStringLiteral("start"), value, value);
        } catch (const AppError &failure) {
            QVERIFY2(!sendable(value), qPrintable(failure.text()));
        }
        if (!sendable(value) || overLong(value)) {
            QVERIFY(outcome != PasswordChangeOutcome::Changed);
            QCOMPARE(tables(), before);
            return;
        }
        QCOMPARE(outcome, PasswordChangeOutcome::Changed);
        const ReadOnlyDatabase db(server->databasePath());
        QCOMPARE(
            db.value(QStringLiteral("select userpas from UserTable where username = ?"), {name})
                .toString(),
            value);
        QVERIFY(LoginRecord::credentialsValid(name, value));
        QCOMPARE(changeAccountPassword(value, QStringLiteral("start"), QStringLiteral("start")),
                 PasswordChangeOutcome::Changed);
    }
};

int main(int argc, char *argv[])
{
    TestEnvironment environment;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    TestHostileFields test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostile_fields.moc"
