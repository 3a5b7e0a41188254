#include "TestServer.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

QString TestServer::serverBinary()
{
    const QString fromEnv = qEnvironmentVariable("TIPDESK_SERVER_BIN");
    return fromEnv.isEmpty() ? QStringLiteral("tipdesk-server") : fromEnv;
}

void TestServer::dieWithTestProcess(QProcess &process)
{
#ifdef Q_OS_LINUX
    const pid_t testProcess = ::getpid();
    process.setChildProcessModifier([testProcess] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The test may have died between the fork and the line above.
        if (::getppid() != testProcess)
            ::_exit(1);
    });
#else
    Q_UNUSED(process);
#endif
}

TestServer::TestServer(bool seedDemo, const QStringList &serveOptions, const QDateTime &fixedNow)
    : m_serveOptions(serveOptions), m_environment(QProcessEnvironment::systemEnvironment())
{
    if (fixedNow.isValid())
        m_environment.insert(QStringLiteral("TIPDESK_SERVER_FIXED_NOW"),
                             fixedNow.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    // The demo seed points its toolbar pages at the server itself, so the port is chosen first.
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        m_port = probe.serverPort();
    }
    if (seedDemo) {
        command(QStringLiteral("seed"),
                {QStringLiteral("--demo"), QStringLiteral("--base"), baseUrl()});
    } else {
        command(QStringLiteral("seed"));
    }
    start();
    if (!isRunning() && m_process.state() == QProcess::NotRunning) {
        // Another test took the port between the probe and the start: let the server pick one.
        m_port = 0;
        m_error.clear();
        start();
    }
}

TestServer::~TestServer()
{
    stop();
}

void TestServer::start()
{
    m_process.setProgram(serverBinary());
    m_process.setArguments(QStringList {QStringLiteral("serve"), QStringLiteral("--db"),
                                        databasePath(), QStringLiteral("--listen"),
                                        QStringLiteral("127.0.0.1:%1").arg(m_port)}
                           + m_serveOptions);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setProcessEnvironment(m_environment);
    dieWithTestProcess(m_process);
    m_process.start();
    if (!m_process.waitForStarted(5000)) {
        m_error = QStringLiteral("server did not start: ") + m_process.errorString();
        return;
    }
    // The server announces "listening http://127.0.0.1:PORT/" as its first line.
    static const QRegularExpression announce(QStringLiteral("listening http://[^:]+:(\\d+)/"));
    QByteArray seen;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(200)) {
            if (m_process.state() != QProcess::Running)
                break;
            continue;
        }
        seen += m_process.readLine();
        const auto match = announce.match(QString::fromUtf8(seen));
        if (match.hasMatch()) {
            m_port = match.captured(1).toInt();
            return;
        }
    }
    m_error = QStringLiteral("server did not announce its port: ") + QString::fromUtf8(seen)
        + QString::fromUtf8(m_process.readAllStandardError());
}

void TestServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

void TestServer::killHard()
{
    m_process.kill();
    m_process.waitForFinished(3000);
}

bool TestServer::isRunning() const
{
    return m_process.state() == QProcess::Running && m_port > 0;
}

QString TestServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_port);
}

QUrl TestServer::endpoint() const
{
    return QUrl(baseUrl() + QStringLiteral("qzWebService.asmx"));
}

QString TestServer::databasePath() const
{
    return m_dir.filePath(QStringLiteral("tipdesk.db"));
}

QString TestServer::command(const QString &name, const QStringList &args)
{
    return command(name, args, {});
}

QString TestServer::command(const QString &name, const QStringList &args, const QByteArray &input)
{
    const CommandResult result = tryCommand(name, args, input);
    if (!result.ok) {
        QTest::qFail(
            qPrintable(QStringLiteral("tipdesk-server %1 failed: %2").arg(name, result.err)),
            __FILE__, __LINE__);
    }
    return result.out;
}

TestServer::CommandResult TestServer::tryCommand(const QString &name, const QStringList &args,
                                                 const QByteArray &input)
{
    QProcess p;
    dieWithTestProcess(p);
    p.setProcessEnvironment(m_environment);
    p.start(serverBinary(), QStringList {name, QStringLiteral("--db"), databasePath()} + args);
    p.write(input);
    p.closeWriteChannel();
    const bool finished = p.waitForFinished(30000);
    CommandResult result;
    result.ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    result.out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    result.err = QString::fromUtf8(p.readAllStandardError());
    m_lastOk = result.ok;
    m_lastStderr = result.err;
    return result;
}
