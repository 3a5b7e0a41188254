// The account application window, against the reference server.
#include "GuiTestMain.h"
#include "RawHttpPeer.h"
#include "ReadOnlyDatabase.h"
#include "ServiceTarget.h"
#include "TestServer.h"

#include "account/UnitZCCT.h"
#include "app/UnitGlouble.h"
#include "ui/MessageBoxes.h"

#include <QLineEdit>
#include <QTest>

namespace {
const auto success = QStringLiteral("注册成功，我们会及时联系您！");
const auto failure = QStringLiteral("注册失败，请重新再试！");
} // namespace

class TestAccountApplication : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    std::unique_ptr<TFormZCCT> window;

    void fill(const QString &name, const QString &mobile, const QString &password,
              const QString &again)
    {
        window->findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(name);
        window->findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(mobile);
        window->findChild<QLineEdit *>(QStringLiteral("Edit3"))->setText(password);
        window->findChild<QLineEdit *>(QStringLiteral("Edit4"))->setText(again);
    }

    // The message the click showed (exactly one is expected).
    QString apply()
    {
        MessageBoxRecorder::clear();
        window->Button1Click();
        const auto shown = MessageBoxRecorder::shown();
        return shown.size() == 1 ? shown[0].text
                                 : QStringLiteral("<%1 messages>").arg(shown.size());
    }

    // Pending applications stored under exactly this name: (password, mobile) each.
    QList<QStringList> applications(const QString &name)
    {
        return textRows(queryServerDatabase(
            server->databasePath(),
            QStringLiteral("select zcmm, shouji, zhucetime from NewUser where usetrname = ?"),
            {name}));
    }

private Q_SLOTS:
    void initTestCase()
    {
        server = std::make_unique<TestServer>();
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
        server->command(QStringLiteral("add-user"),
                        {QStringLiteral("--name"), QStringLiteral("alice"),
                         QStringLiteral("--password"), QStringLiteral("a"),
                         QStringLiteral("--level"), QStringLiteral("0")});
        QVERIFY(server->lastCommandOk());
    }

    void init()
    {
        resetClientGlobals();
        gpsysname = QStringLiteral("金股预警");
        pointClientAt(server->baseUrl());
        MessageBoxRecorder::start();
        window = std::make_unique<TFormZCCT>();
        window->show();
    }

    void cleanup()
    {
        window.reset();
        MessageBoxRecorder::stop();
    }

    void captionCarriesTheSystemName()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("金股预警注册窗体"));
    }

    void inputChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << QString() << QStringLiteral("p") << QStringLiteral("p")
                                    << QStringLiteral("用户名不能为空，请重新输入!");
        QTest::newRow("blank name")
            << QStringLiteral("   ") << QStringLiteral("p") << QStringLiteral("p")
            << QStringLiteral("用户名不能为空，请重新输入!");
        QTest::newRow("passwords differ")
            << QStringLiteral("bob") << QStringLiteral("p1") << QStringLiteral("p2")
            << QStringLiteral("密码输入不一致，请重新输入!");
        QTest::newRow("trailing blank differs")
            << QStringLiteral("bob") << QStringLiteral("p1 ") << QStringLiteral("p1")
            << QStringLiteral("密码输入不一致，请重新输入!");
        QTest::newRow("taken name")
            << QStringLiteral("alice") << QStringLiteral("p") << QStringLiteral("p")
            << QStringLiteral("用户名重复，请换一个用户名申请！");
        QTest::newRow("taken name with blanks around")
            << QStringLiteral(" alice ") << QStringLiteral("p") << QStringLiteral("p")
            << QStringLiteral("用户名重复，请换一个用户名申请！");
    }

    void inputChecks()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, again);
        QFETCH(QString, message);
        fill(name, QStringLiteral("13800000000"), password, again);
        QCOMPARE(apply(), message);
        QVERIFY(applications(name.trimmed()).isEmpty());
        QVERIFY(window->isVisible());
    }

    void applicationIsFiledOnceThenPending()
    {
        fill(QStringLiteral("  王五 "), QStringLiteral(" 13912345678 "), QStringLiteral(" pw "),
             QStringLiteral(" pw "));
        QCOMPARE(apply(), success);
        const auto rows = applications(QStringLiteral("王五"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0], QStringLiteral("pw"));
        QCOMPARE(rows[0][1], QStringLiteral("13912345678"));
        QVERIFY(!rows[0][2].isEmpty()); // the server filled in the date
        // The entries stay for a second press, which is refused: the name is pending now.
        QCOMPARE(apply(), QStringLiteral("该用户名正在申请中，请换一个用户名申请！"));
        QCOMPARE(applications(QStringLiteral("王五")).size(), 1);
    }

    void caseDifferentNameIsAccepted()
    {
        fill(QStringLiteral("Alice"), QString(), QString(), QString());
        QCOMPARE(apply(), success);
        const auto rows = applications(QStringLiteral("Alice"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0], QString()); // empty password and mobile are stored as empty texts
        QCOMPARE(rows[0][1], QString());
    }

    void quotesAreStoredExactly()
    {
        const QString name = QStringLiteral("o'neil') or ('1'='1");
        const QString password = QStringLiteral("it's \"x\" -- ;");
        fill(name, QStringLiteral("1'2"), password, password);
        QCOMPARE(apply(), success);
        const auto rows = applications(name);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0], password);
        QCOMPARE(rows[0][1], QStringLiteral("1'2"));
        QCOMPARE(apply(), QStringLiteral("该用户名正在申请中，请换一个用户名申请！"));
    }

    void approvedApplicationBecomesTakenName()
    {
        fill(QStringLiteral("carol"), QString(), QStringLiteral("c"), QStringLiteral("c"));
        QCOMPARE(apply(), success);
        server->command(QStringLiteral("approve"), {QStringLiteral("carol")});
        QVERIFY(server->lastCommandOk());
        QCOMPARE(apply(), QStringLiteral("用户名重复，请换一个用户名申请！"));
    }

    void refusedInsertIsNoSuccess_data()
    {
        QTest::addColumn<QByteArray>("insertAnswer");
        QTest::newRow("answer false") << RawHttpPeer::soapAnswer("zhixing", "false");
        QTest::newRow("fault") << RawHttpPeer::httpResponse(500, "text/xml", "<x/>");
    }

    void refusedInsertIsNoSuccess()
    {
        QFETCH(QByteArray, insertAnswer);
        RawHttpPeer peer({RawHttpPeer::soapAnswer("hqsfczjl", "0"),
                          RawHttpPeer::soapAnswer("hqsfczjl", "0"), insertAnswer});
        pointClientAt(peer.baseUrl());
        fill(QStringLiteral("dave"), QString(), QStringLiteral("d"), QStringLiteral("d"));
        QCOMPARE(apply(), failure);
        QCOMPARE(MessageBoxRecorder::shown().first().caption, QStringLiteral("申请错误！"));
        QCOMPARE(peer.requests().size(), 3);
    }

    void failingCheckReachesTheGeneralReport()
    {
        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         RawHttpPeer::httpResponse(503, "text/html", "busy"));
        pointClientAt(peer.baseUrl());
        fill(QStringLiteral("erin"), QString(), QStringLiteral("e"), QStringLiteral("e"));
        const QString shown = apply();
        QVERIFY2(shown.contains(QStringLiteral("HTTP 错误 503")), qPrintable(shown));
        QCOMPARE(peer.requests().size(), 1); // nothing after the failed check
    }
};

TIPDESK_GUI_TEST_MAIN(TestAccountApplication)
#include "tst_account_application.moc"
