// Password guessing against a running server: after ten failed checks within a minute from one
// address, the next ones are answered "False" only after a growing delay, while other callers,
// other operations and other addresses are served at once. Every way to test a password counts
// and waits alike; only a few checks may wait at once, and a waiting check is never dropped.
#include "SoapTestClient.h"
#include "TestServer.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

namespace {

QByteArray passwordCheck(const QString &password, const QByteArray &operation = "yanzheng")
{
    return RawHttp::serviceRequest(
        operation,
        SoapTestClient::envelope(QString::fromLatin1(operation),
                                 {{QStringLiteral("username"), QStringLiteral("demo")},
                                  {QStringLiteral("userpass"), password}}));
}

QByteArray bulletinPage(const QString &password)
{
    return "GET /qzGongGaoXinXi.aspx?userdj=2&username=demo&userpas=" + password.toUtf8()
        + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
}

QByteArray additionCall()
{
    return RawHttp::serviceRequest(
        "addition",
        SoapTestClient::envelope(QStringLiteral("addition"),
                                 {{QStringLiteral("i"), QStringLiteral("2")},
                                  {QStringLiteral("j"), QStringLiteral("3")}}));
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

bool answered(QTcpSocket &socket, QByteArray &answer, int count = 1)
{
    socket.waitForReadyRead(0);
    answer += socket.readAll();
    return answer.count("</soap:Envelope>") + answer.count("</html>") >= count;
}

// Eleven failed checks from 127.0.0.1 (the eleventh waited 0.25 s): the next check there waits
// at least 0.5 s, which leaves a slow machine time to see who is answered first.
void engageBackoff(SoapTestClient &client)
{
    for (int failure = 0; failure < 11; ++failure) {
        QCOMPARE(
            client.result(QStringLiteral("yanzheng"),
                          {{QStringLiteral("username"), QStringLiteral("demo")},
                           {QStringLiteral("userpass"), QStringLiteral("guess%1").arg(failure)}}),
            QStringLiteral("False"));
    }
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
    void everyPasswordTestCountsAndWaits();
    void fewChecksMayWait();
    void aWaitingCheckIsNotIdle();
    void pipelinedAnswersKeepTheirOrder();
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

void TestServerBackoff::everyPasswordTestCountsAndWaits()
{
    TestServer server;
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
    const quint16 port = quint16(server.port());
    SoapTestClient client(server.baseUrl());
    // Ten failures through the three ways to test a password.
    for (int failure = 0; failure < 4; ++failure) {
        QCOMPARE(client.result(QStringLiteral("yanzheng"),
                               {{QStringLiteral("username"), QStringLiteral("demo")},
                                {QStringLiteral("userpass"), QStringLiteral("guess")}}),
                 QStringLiteral("False"));
    }
    for (int failure = 0; failure < 3; ++failure) {
        QCOMPARE(SoapTestClient::parseRows(
                     client.result(QStringLiteral("hqdlyhxx"),
                                   {{QStringLiteral("username"), QStringLiteral("demo")},
                                    {QStringLiteral("userpass"), QStringLiteral("guess")}})),
                 QList<ResultRow>());
        QCOMPARE(
            client.get(QStringLiteral("qzGongGaoXinXi.aspx?userdj=2&username=demo&userpas=guess"))
                .status,
            403);
    }

    // The eleventh failure waits 0.25 s; the next checks wait longer.
    QCOMPARE(client.get(QStringLiteral("qzGongGaoXinXi.aspx?userdj=2&username=demo&userpas=guess"))
                 .status,
             403);

    // Now a bulletin page guess and then the right password through hqdlyhxx wait their turns,
    // in order, while a call that tests no password is answered at once.
    QByteArray guessAnswer;
    const auto guess = sendFrom(QStringLiteral("127.0.0.1"), port, bulletinPage("guess"));
    QVERIFY(guess->waitForBytesWritten(5000));
    QByteArray rightAnswer;
    const auto right = sendFrom(QStringLiteral("127.0.0.1"), port,
                                passwordCheck(QStringLiteral("demo123"), "hqdlyhxx"));
    QCOMPARE(client.result(QStringLiteral("addition"),
                           {{QStringLiteral("i"), QStringLiteral("2")},
                            {QStringLiteral("j"), QStringLiteral("3")}}),
             QStringLiteral("5"));
    QVERIFY(!answered(*guess, guessAnswer));
    QVERIFY(!answered(*right, rightAnswer));
    QTRY_VERIFY_WITH_TIMEOUT(answered(*right, rightAnswer), 10000);
    QVERIFY(answered(*guess, guessAnswer));
    QCOMPARE(RawHttp::statusOf(guessAnswer), 403);
    const QList<ResultRow> account = SoapTestClient::parseRows(
        SoapTestClient::resultOf(RawHttp::bodyOf(rightAnswer), QStringLiteral("hqdlyhxx")));
    QCOMPARE(account.value(0).value(QStringLiteral("username")), QStringLiteral("demo"));
}

void TestServerBackoff::fewChecksMayWait()
{
    TestServer server;
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
    const quint16 port = quint16(server.port());
    SoapTestClient client(server.baseUrl());
    engageBackoff(client);

    // Four checks from one address wait; the fifth is refused at once, right or wrong.
    std::vector<std::unique_ptr<QTcpSocket>> waiting;
    for (int check = 0; check < 4; ++check) {
        waiting.push_back(sendFrom(QStringLiteral("127.0.0.1"), port,
                                   passwordCheck(QStringLiteral("wait%1").arg(check))));
        QVERIFY(waiting.back()->waitForBytesWritten(5000));
    }
    QByteArray refusedAnswer;
    const auto refused =
        sendFrom(QStringLiteral("127.0.0.1"), port, passwordCheck(QStringLiteral("demo123")));
    QTRY_VERIFY_WITH_TIMEOUT(answered(*refused, refusedAnswer), 5000);
    QCOMPARE(passwordCheckResult(refusedAnswer), QStringLiteral("False"));
    for (const auto &socket : waiting) {
        QByteArray answer;
        QVERIFY2(!answered(*socket, answer), "a waiting check was answered before the refusal");
    }

    // Callers that go away take their checks along: the right password waits and gets "True".
    for (const auto &socket : waiting)
        socket->abort();
    QByteArray rightAnswer;
    const auto right =
        sendFrom(QStringLiteral("127.0.0.1"), port, passwordCheck(QStringLiteral("demo123")));
    QTRY_VERIFY_WITH_TIMEOUT(answered(*right, rightAnswer), 10000);
    QCOMPARE(passwordCheckResult(rightAnswer), QStringLiteral("True"));
}

void TestServerBackoff::aWaitingCheckIsNotIdle()
{
    TestServer server(true, {QStringLiteral("--idle-timeout"), QStringLiteral("1")});
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
    SoapTestClient client(server.baseUrl());
    engageBackoff(client);
    // Two more failures (0.5 and 1 s) bring the delay to 2 s, longer than the time-out.
    for (int failure = 0; failure < 2; ++failure) {
        QCOMPARE(client.result(QStringLiteral("yanzheng"),
                               {{QStringLiteral("username"), QStringLiteral("demo")},
                                {QStringLiteral("userpass"), QStringLiteral("more")}}),
                 QStringLiteral("False"));
    }
    QByteArray answer;
    const auto right = sendFrom(QStringLiteral("127.0.0.1"), quint16(server.port()),
                                passwordCheck(QStringLiteral("demo123")));
    QTRY_VERIFY_WITH_TIMEOUT(answered(*right, answer), 10000);
    QCOMPARE(passwordCheckResult(answer), QStringLiteral("True"));
}

void TestServerBackoff::pipelinedAnswersKeepTheirOrder()
{
    TestServer server;
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
    SoapTestClient client(server.baseUrl());
    engageBackoff(client);
    // The password check waits; the addition behind it on the same connection waits for it.
    QByteArray answers;
    const auto socket = sendFrom(QStringLiteral("127.0.0.1"), quint16(server.port()),
                                 passwordCheck(QStringLiteral("guess")) + additionCall());
    QTRY_VERIFY_WITH_TIMEOUT(answered(*socket, answers, 2), 10000);
    const qsizetype first = answers.indexOf("yanzhengResponse");
    const qsizetype second = answers.indexOf("additionResponse");
    QVERIFY(first >= 0 && second >= 0);
    QVERIFY2(first < second, answers.constData());
}

QTEST_GUILESS_MAIN(TestServerBackoff)
#include "tst_server_backoff.moc"
