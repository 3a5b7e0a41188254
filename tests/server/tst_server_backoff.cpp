// Password guessing against a running server: after ten failed checks within a minute from one
// address, the next ones are answered "False" only after a growing delay, while other callers,
// other operations and other addresses are served at once.
#include "SoapTestClient.h"
#include "TestServer.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

namespace {

QByteArray passwordCheck(const QString &password)
{
    return RawHttp::serviceRequest(
        "yanzheng",
        SoapTestClient::envelope(QStringLiteral("yanzheng"),
                                 {{QStringLiteral("username"), QStringLiteral("demo")},
                                  {QStringLiteral("userpass"), password}}));
}

// A request sent from the given loopback address; its answer is read later.
std::unique_ptr<QTcpSocket> sendFrom(const QString &address, quint16 port,
                                     const QByteArray &request)
{
    auto socket = std::make_unique<QTcpSocket>();
    if (!socket->bind(QHostAddress(address)))
        QTest::qFail(qPrintable(QStringLiteral("cannot bind to ") + address), __FILE__, __LINE__);
    socket->connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket->waitForConnected(5000))
        QTest::qFail("cannot connect to the server", __FILE__, __LINE__);
    socket->write(request);
    return socket;
}

bool answered(QTcpSocket &socket, QByteArray &answer)
{
    socket.waitForReadyRead(0);
    answer += socket.readAll();
    return answer.contains("</soap:Envelope>");
}

QString passwordCheckResult(const QByteArray &answer)
{
    return SoapTestClient::resultOf(RawHttp::bodyOf(answer), QStringLiteral("yanzheng"));
}

} // namespace

class TestServerBackoff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void guessingIsSlowedForThatAddressOnly();
};

void TestServerBackoff::guessingIsSlowedForThatAddressOnly()
{
    TestServer server;
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
    const quint16 port = quint16(server.port());
    SoapTestClient client(server.baseUrl());
    const auto check = [&](const QString &password) {
        return client.result(QStringLiteral("yanzheng"),
                             {{QStringLiteral("username"), QStringLiteral("demo")},
                              {QStringLiteral("userpass"), password}});
    };
    for (int failure = 0; failure < 10; ++failure)
        QCOMPARE(check(QStringLiteral("guess%1").arg(failure)), QStringLiteral("False"));
    // Correct logins never count as failures.
    QCOMPARE(check(QStringLiteral("demo123")), QStringLiteral("True"));

    // The eleventh failure waits at least the first delay, and its answer stays "False".
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(check(QStringLiteral("guess10")), QStringLiteral("False"));
    QVERIFY2(clock.elapsed() >= 200, qPrintable(QString::number(clock.elapsed())));

    // While the next guess from here waits (a longer delay now), everyone else is answered:
    // another operation from the same address, and a correct login from another address.
    QByteArray guessAnswer;
    const auto guess =
        sendFrom(QStringLiteral("127.0.0.1"), port, passwordCheck(QStringLiteral("guess11")));
    QByteArray loginAnswer;
    const auto login =
        sendFrom(QStringLiteral("127.0.0.2"), port, passwordCheck(QStringLiteral("demo123")));
    QCOMPARE(client.result(QStringLiteral("addition"),
                           {{QStringLiteral("i"), QStringLiteral("2")},
                            {QStringLiteral("j"), QStringLiteral("3")}}),
             QStringLiteral("5"));
    QTRY_VERIFY_WITH_TIMEOUT(answered(*login, loginAnswer), 5000);
    QCOMPARE(passwordCheckResult(loginAnswer), QStringLiteral("True"));
    QVERIFY(!answered(*guess, guessAnswer));
    QTRY_VERIFY_WITH_TIMEOUT(answered(*guess, guessAnswer), 10000);
    QCOMPARE(passwordCheckResult(guessAnswer), QStringLiteral("False"));

    // A guesser that gives up before its answer leaves the server unharmed.
    const auto quitter =
        sendFrom(QStringLiteral("127.0.0.1"), port, passwordCheck(QStringLiteral("guess12")));
    QVERIFY(quitter->waitForBytesWritten(5000));
    quitter->abort();
    QCOMPARE(check(QStringLiteral("guess13")), QStringLiteral("False"));
    QVERIFY(server.isRunning());
}

QTEST_GUILESS_MAIN(TestServerBackoff)
#include "tst_server_backoff.moc"
