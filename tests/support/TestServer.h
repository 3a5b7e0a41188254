#pragma once

#include <QDateTime>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

// A reference operator server for one test: its own temporary database, started as a real
// process on a loopback port (one found free just before, or one the server picks when that was
// taken meanwhile). Operator commands run the same binary against that database.
class TestServer
{
public:
    // Seeds the demo database unless told otherwise, then starts serving; serveOptions are
    // added to the serve command line (e.g. a short --idle-timeout). A valid fixedNow stops the
    // clock of the server and of every command at that local time, so "today" cannot change
    // while a test runs.
    explicit TestServer(bool seedDemo = true, const QStringList &serveOptions = {},
                        const QDateTime &fixedNow = {});
    ~TestServer();

    TestServer(const TestServer &) = delete;
    TestServer &operator=(const TestServer &) = delete;

    bool isRunning() const;
    QString errorText() const { return m_error; }

    QString baseUrl() const; // "http://127.0.0.1:PORT/"
    QUrl endpoint() const; // base + "qzWebService.asmx"
    QString databasePath() const;
    int port() const { return m_port; }

    // What one operator command did.
    struct CommandResult
    {
        bool ok = false; // exited normally with status 0
        QString out; // standard output, trimmed
        QString err;
    };

    // Runs "tipdesk-server <command> --db <this db> <args>", with `input` on its standard input,
    // and answers its standard output, trimmed. A command that fails records a failure of the
    // running test (QTest::qFail) with its error text; lastCommandOk() then answers false, so a
    // QVERIFY on it stops the test there.
    QString command(const QString &name, const QStringList &args = {});
    QString command(const QString &name, const QStringList &args, const QByteArray &input);
    // The same for a command that is meant to fail: nothing is recorded against the test.
    CommandResult tryCommand(const QString &name, const QStringList &args = {},
                             const QByteArray &input = {});
    bool lastCommandOk() const { return m_lastOk; }
    QString lastCommandError() const { return m_lastStderr; }

    void start(); // (again) on the port it had; fails if another process took it since
    void stop(); // orderly stop (SIGTERM, then SIGKILL after 3 s)
    void killHard(); // SIGKILL, for durability tests

    static QString serverBinary();
    // Makes a server process started from this test die with it, so that a test that aborts
    // leaves no server running behind it. Call before start().
    static void dieWithTestProcess(QProcess &process);

private:
    QTemporaryDir m_dir;
    QStringList m_serveOptions;
    QProcessEnvironment m_environment;
    QProcess m_process;
    int m_port = 0;
    QString m_error;
    bool m_lastOk = true;
    QString m_lastStderr;
};
