// The remembered password in the desktop's keyring: a real Secret Service (gnome-keyring-daemon,
// unlocked for the test) on a session bus of the test's own, and the file alone where none answers.
#include "CoreTestMain.h"

#include "app/PasswordVault.h"
#include "app/RememberedCredentials.h"
#include "app/RememberedLogin.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A session bus that starts nothing by itself, so that no keyring appears unless a test starts one.
const QByteArray busConfiguration = "<busconfig>\n"
                                    "  <type>session</type>\n"
                                    "  <listen>unix:tmpdir=/tmp</listen>\n"
                                    "  <policy context=\"default\">\n"
                                    "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                                    "    <allow eavesdrop=\"true\"/>\n"
                                    "    <allow own=\"*\"/>\n"
                                    "  </policy>\n"
                                    "</busconfig>\n";

// The keyring's answer for a name, waited for.
std::optional<QString> keyringPassword(const QString &name)
{
    std::optional<std::optional<QString>> answer;
    QObject context;
    PasswordVault::read(
        name, &context,
        [&answer](PasswordVault::Outcome outcome, const std::optional<QString> &password) {
            answer = outcome == PasswordVault::Outcome::Done
                ? password
                : std::optional<QString>(QStringLiteral("<unavailable>"));
        });
    if (!QTest::qWaitFor([&answer] { return answer.has_value(); }, 20000))
        return QStringLiteral("<no answer>");
    return *answer;
}

// Whether any file below the folder holds these bytes.
bool anyFileHolds(const QString &folder, const QByteArray &bytes)
{
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(bytes))
            return true;
    }
    return false;
}

bool ownerOnly(const QString &path)
{
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return !(QFile::permissions(path) & others);
}

} // namespace

class TestRememberedKeyring : public QObject
{
    Q_OBJECT

    QTemporaryDir busFolder;
    QProcess bus;
    QProcess keyring;

    static QString configFolder() { return QFileInfo(RememberedLogin::filePath()).path(); }

private Q_SLOTS:
    void initTestCase()
    {
        QFile config(busFolder.filePath(QStringLiteral("session.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(busConfiguration);
        config.close();
        bus.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
        QVERIFY2(bus.waitForStarted(), "dbus-daemon is needed (Debian package dbus-daemon)");
        QVERIFY(bus.waitForReadyRead(5000));
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());

        // Unlocked with a password of its own; its keyrings live in the test's home.
        keyring.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        keyring.start(QStringLiteral("gnome-keyring-daemon"),
                      {QStringLiteral("--foreground"), QStringLiteral("--components=secrets"),
                       QStringLiteral("--unlock")});
        QVERIFY2(keyring.waitForStarted(), "gnome-keyring-daemon is needed (Debian gnome-keyring)");
        keyring.write("test-keyring-password");
        keyring.closeWriteChannel();
        QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::sessionBus().interface()->isServiceRegistered(
                                     QStringLiteral("org.freedesktop.secrets")),
                                 10000);

        ServiceSettings settings;
        settings.baseAddress = QStringLiteral("https://tips.example.com/");
        RegisterWebServiceSoap(settings);
    }

    void cleanupTestCase()
    {
        keyring.kill();
        keyring.waitForFinished();
        bus.kill();
        bus.waitForFinished();
    }

    void rememberingLeavesNoPasswordInAnyFile()
    {
        RememberedCredentials::remember(QStringLiteral(" 张三 "), QStringLiteral(" p'w秘 "));
        QCOMPARE(keyringPassword(QStringLiteral("张三")), QStringLiteral("p'w秘"));
        const auto recalled = RememberedCredentials::recall();
        QVERIFY(recalled);
        QCOMPARE(recalled->name, QStringLiteral("张三"));
        QCOMPARE(recalled->password, QString()); // the line stays, empty
        QVERIFY(!anyFileHolds(configFolder(), QByteArray("p'w")));
        QVERIFY(!anyFileHolds(configFolder(), QStringEncoder("GBK")(QStringLiteral("秘"))));
        QVERIFY(ownerOnly(RememberedLogin::filePath()));

        QString found;
        QObject context;
        RememberedCredentials::recallFromKeyring(QStringLiteral("张三"), &context,
                                                 [&found](const QString &p) { found = p; });
        QTRY_COMPARE(found, QStringLiteral("p'w秘"));
    }

    void anOldFilesPasswordMovesToTheKeyring()
    {
        RememberedLogin::save(QStringLiteral("李四"), QStringLiteral("old-pw"));
        QCOMPARE(RememberedCredentials::recall()->password, QStringLiteral("old-pw"));
        RememberedCredentials::remember(QStringLiteral("李四"), QStringLiteral("old-pw"));
        QCOMPARE(keyringPassword(QStringLiteral("李四")), QStringLiteral("old-pw"));
        QCOMPARE(RememberedCredentials::recall()->password, QString());
        QVERIFY(!anyFileHolds(configFolder(), QByteArray("old-pw")));
    }

    void aChangedPasswordFollows()
    {
        RememberedCredentials::remember(QStringLiteral("王五"), QStringLiteral("first"));
        QCOMPARE(keyringPassword(QStringLiteral("王五")), QStringLiteral("first"));
        RememberedCredentials::passwordChanged(QStringLiteral("王五"), QStringLiteral("second"));
        QCOMPARE(keyringPassword(QStringLiteral("王五")), QStringLiteral("second"));
        // Another user's change leaves the remembered one alone.
        RememberedCredentials::passwordChanged(QStringLiteral("赵六"), QStringLiteral("x"));
        QCOMPARE(keyringPassword(QStringLiteral("王五")), QStringLiteral("second"));
    }

    void forgettingRemovesBoth()
    {
        RememberedCredentials::remember(QStringLiteral("孙七"), QStringLiteral("pw7"));
        QCOMPARE(keyringPassword(QStringLiteral("孙七")), QStringLiteral("pw7"));
        RememberedCredentials::forget();
        QVERIFY(!QFile::exists(RememberedLogin::filePath()));
        QTRY_COMPARE(keyringPassword(QStringLiteral("孙七")), std::optional<QString>());
    }

    // Last: the keyring goes away.
    void withoutAKeyringTheFileKeepsIt()
    {
        keyring.kill();
        keyring.waitForFinished();
        QTRY_VERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QStringLiteral("org.freedesktop.secrets")));
        PasswordVault::setTimeLimit(3000);
        RememberedCredentials::remember(QStringLiteral("周八"), QStringLiteral("pw8"));
        QTRY_COMPARE_WITH_TIMEOUT(RememberedCredentials::recall()->password, QStringLiteral("pw8"),
                                  10000);
        QVERIFY(ownerOnly(RememberedLogin::filePath()));
    }
};

TIPDESK_CORE_TEST_MAIN(TestRememberedKeyring)
#include "tst_remembered_keyring.moc"
