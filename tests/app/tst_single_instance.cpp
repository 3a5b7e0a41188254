// One client per user: which start is the first, what a later start asks of it, and what a crashed
// or ended first start leaves to the next, on sockets in a private runtime folder.
#include "TestServer.h"

#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <memory>

namespace {

// A probe process on `socketPath` that dies with the test.
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

// A socket file as a crashed run leaves it: bound once, nobody listening on it.
bool leaveDeadSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    if (fd < 0 || size_t(native.size()) >= sizeof(address.sun_path))
        return false;
    std::copy(native.begin(), native.end(), address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound && QFile::exists(path);
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

    QTemporaryDir runtime;

    QString socketPath() const { return SingleInstance::defaultSocketPath(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(runtime.isValid());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    }

    void init() { QFile::remove(socketPath()); }   // a killed probe's, from the test before

    void socketLivesInTheUsersRuntimeFolder()
    {
        QCOMPARE(socketPath(), runtime.path() + QStringLiteral("/TipDesk.instance"));
        QCOMPARE(SingleInstance().socketPath(), socketPath());
    }

    void firstStartWinsAndLaterStartsReachIt()
    {
        SingleInstance first;
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        QVERIFY(first.listening());
        QVERIFY(QFile::exists(socketPath()));

        SingleInstance second;
        QCOMPARE(second.claim(), SingleInstance::Claim::AlreadyRunning);
        QVERIFY(!second.listening());
        QTRY_COMPARE(shown.count(), 1);

        SingleInstance third;
        QCOMPARE(third.claim(), SingleInstance::Claim::AlreadyRunning);
        QTRY_COMPARE(shown.count(), 2);
        QVERIFY(first.listening());   // still there for the next one
    }

    void endedFirstStartFreesTheSocket()
    {
        auto first = std::make_unique<SingleInstance>();
        QCOMPARE(first->claim(), SingleInstance::Claim::First);
        first.reset();
        QVERIFY(!QFile::exists(socketPath()));

        SingleInstance next;
        QCOMPARE(next.claim(), SingleInstance::Claim::First);
        QVERIFY(next.listening());
    }

    void deadSocketFileIsTakenOver()
    {
        QVERIFY(leaveDeadSocket(socketPath()));
        SingleInstance next;
        QSignalSpy shown(&next, &SingleInstance::showRequested);
        QCOMPARE(next.claim(), SingleInstance::Claim::First);
        QVERIFY(next.listening());
        SingleInstance later;
        QCOMPARE(later.claim(), SingleInstance::Claim::AlreadyRunning);
        QTRY_COMPARE(shown.count(), 1);
    }

    void crashedFirstStartLeavesItsSocketToTheNext()
    {
        auto crashed = startProbe(socketPath());
        QCOMPARE(firstLine(*crashed), QByteArray("first"));
        crashed->kill();   // SIGKILL: no chance to remove anything
        QVERIFY(crashed->waitForFinished(10000));
        QVERIFY(QFile::exists(socketPath()));

        SingleInstance next;
        QCOMPARE(next.claim(), SingleInstance::Claim::First);
        QVERIFY(next.listening());
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
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
