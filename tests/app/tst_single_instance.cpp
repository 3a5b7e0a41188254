// One client per user: the first start owns the socket in the user's runtime folder, later starts
// reach it and end, a socket left by a crashed run does not block the next start, starts at the
// same moment elect one first, and the real program obeys all of it.
#include "TestServer.h"

#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace {

// A probe process (one start of the check, see single_instance_probe.cpp) that dies with the test.
std::unique_ptr<QProcess> startProbe(const QString &socketPath)
{
    auto probe = std::make_unique<QProcess>();
    TestServer::dieWithTestProcess(*probe);
    probe->start(QCoreApplication::applicationDirPath() + QStringLiteral("/single_instance_probe"),
                 {socketPath});
    return probe;
}

QByteArray firstLine(QProcess &probe)
{
    while (!probe.canReadLine()) {
        if (!probe.waitForReadyRead(10000))
            return probe.readAll();
    }
    return probe.readLine().trimmed();
}

// What a crashed run leaves behind: a bound socket file nobody listens on.
bool leaveStaleSocket(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    memcpy(address.sun_path, name.constData(), name.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound && QFile::exists(path);
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

    QTemporaryDir runtime;
    QString socketPath() const { return runtime.filePath(QStringLiteral("TipDesk.instance")); }

private Q_SLOTS:
    void socketLivesInTheUsersRuntimeFolder()
    {
        const QByteArray before = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
        QCOMPARE(SingleInstance::defaultSocketPath(), socketPath());
        QCOMPARE(SingleInstance().socketPath(), socketPath());
        qputenv("XDG_RUNTIME_DIR", before);
    }

    void firstStartWinsAndLaterStartsReachIt()
    {
        SingleInstance first(socketPath());
        QSignalSpy asked(&first, &SingleInstance::showRequested);
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        QVERIFY(first.listening());

        for (int start = 1; start <= 3; ++start) {
            SingleInstance later(socketPath());
            QCOMPARE(later.claim(), SingleInstance::Claim::AlreadyRunning);
            QVERIFY(!later.listening());
            QTRY_COMPARE(asked.count(), start);
        }
        QVERIFY(first.listening());
    }

    void endingFreesTheSocket()
    {
        {
            SingleInstance first(socketPath());
            QCOMPARE(first.claim(), SingleInstance::Claim::First);
        }
        QVERIFY(!QFile::exists(socketPath()));
        SingleInstance next(socketPath());
        QCOMPARE(next.claim(), SingleInstance::Claim::First);
        QVERIFY(next.listening());
    }

    void crashedRunsSocketIsTakenOver()
    {
        QVERIFY(leaveStaleSocket(socketPath()));
        SingleInstance next(socketPath());
        QCOMPARE(next.claim(), SingleInstance::Claim::First);
        QVERIFY(next.listening());
        SingleInstance later(socketPath());
        QCOMPARE(later.claim(), SingleInstance::Claim::AlreadyRunning);
    }

    // Somebody else's bytes on the socket are not a request to come forward.
    void otherTrafficIsIgnored()
    {
        SingleInstance first(socketPath());
        QSignalSpy asked(&first, &SingleInstance::showRequested);
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        QLocalSocket stranger;
        stranger.connectToServer(socketPath());
        QVERIFY(stranger.waitForConnected(3000));
        stranger.write(QByteArray(4096, 'x') + "\nshow\n");
        QVERIFY(stranger.waitForBytesWritten(3000));
        QTRY_VERIFY(stranger.state() == QLocalSocket::UnconnectedState);
        QCOMPARE(asked.count(), 0);
        SingleInstance later(socketPath());
        QCOMPARE(later.claim(), SingleInstance::Claim::AlreadyRunning);
        QTRY_COMPARE(asked.count(), 1);
    }

    void startsAtTheSameMomentElectOneFirst()
    {
        constexpr int starts = 4;
        std::vector<std::unique_ptr<QProcess>> probes;
        for (int i = 0; i < starts; ++i)
            probes.push_back(startProbe(socketPath()));

        QProcess *first = nullptr;
        int running = 0;
        for (auto &probe : probes) {
            const QByteArray said = firstLine(*probe);
            if (said == "first") {
                QVERIFY2(!first, "two starts both became the first");
                first = probe.get();
            } else {
                QCOMPARE(said, QByteArray("running"));
                QVERIFY(probe->waitForFinished(10000));
                QCOMPARE(probe->exitStatus(), QProcess::NormalExit);
                QCOMPARE(probe->exitCode(), 0);
                ++running;
            }
        }
        QVERIFY(first);
        QCOMPARE(running, starts - 1);
        // Every later start's request reached the first one.
        QByteArray shown;
        QTRY_VERIFY((shown += first->readAll()).count("shown") == starts - 1);
        first->kill();
        QVERIFY(first->waitForFinished(10000));
    }

    // The program itself: a second start asks the first to come forward and ends at once with 0,
    // before it checks the network or shows anything.
    void secondProgramStartEndsAndBringsTheFirstForward()
    {
        SingleInstance first(socketPath());
        QSignalSpy asked(&first, &SingleInstance::showRequested);
        QCOMPARE(first.claim(), SingleInstance::Claim::First);

        QProcess second;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TIPDESK_SERVER"), QStringLiteral("http://192.0.2.10/"));
        // The launcher's activation token travels with the request.
        environment.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), QStringLiteral("kwin-7_a.b:c"));
        second.setProcessEnvironment(environment);
        second.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tipdesk"), {});
        QVERIFY2(second.waitForStarted(), qPrintable(second.errorString()));
        // Our event loop must run meanwhile so that the request is taken.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 20000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(asked.count(), 1);
        QCOMPARE(asked.first().first().toString(), QStringLiteral("kwin-7_a.b:c"));
    }

    void showRequests_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("token");
        QTest::newRow("plain") << QByteArray("show\n") << true << QString();
        QTest::newRow("with a token")
            << QByteArray("show kwin-7_a.b:c\n") << true << "kwin-7_a.b:c";
        QTest::newRow("no line end") << QByteArray("show") << false << QString();
        QTest::newRow("another word") << QByteArray("quit\n") << false << QString();
        QTest::newRow("blank token") << QByteArray("show \n") << false << QString();
        QTest::newRow("two words") << QByteArray("show a b\n") << false << QString();
        QTest::newRow("control character") << QByteArray("show a\x01b\n") << false << QString();
        QTest::newRow("too long") << "show " + QByteArray(400, 'a') + '\n' << false << QString();
    }

    void showRequests()
    {
        QFETCH(QByteArray, request);
        QFETCH(bool, accepted);
        QFETCH(QString, token);
        const std::optional<QString> parsed = SingleInstance::parseShowRequest(request);
        QCOMPARE(parsed.has_value(), accepted);
        if (accepted)
            QCOMPARE(*parsed, token);
        // What a second start sends is always accepted, with what a token may hold.
        QCOMPARE(SingleInstance::parseShowRequest(SingleInstance::showRequest(token)),
                 std::optional<QString>(token));
    }

    void cleanup() { QFile::remove(socketPath()); }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
