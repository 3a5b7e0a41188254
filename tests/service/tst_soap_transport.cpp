// The SOAP binding at the byte level and its failure paths, against a raw loopback HTTP peer that
// can stall, answer garbage and count connections.
#include "AppErrorText.h"
#include "RawHttpPeer.h"
#include "ServiceTarget.h"

#include "service/SoapTransport.h"
#include "service/WebService.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <qpa/qwindowsysteminterface.h>

namespace {
QByteArray okAnswer(const QByteArray &operation, const QByteArray &result)
{
    return RawHttpPeer::soapAnswer(operation, result);
}
// An HTTPS peer with a freshly made self-signed certificate for 127.0.0.1, answering every
// request with the same SOAP answer.
class TlsPeer : public QObject
{
public:
    bool ready = false;
    QSslCertificate certificate;

    explicit TlsPeer(const QByteArray &response) : m_response(response)
    {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                       QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                       QStringLiteral("-keyout"), m_dir.filePath(QStringLiteral("key.pem")),
                       QStringLiteral("-out"), m_dir.filePath(QStringLiteral("cert.pem")),
                       QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                       QStringLiteral("subjectAltName=IP:127.0.0.1")});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0
            || !QSslSocket::supportsSsl())
            return;
        const auto certificates =
            QSslCertificate::fromPath(m_dir.filePath(QStringLiteral("cert.pem")));
        QFile keyFile(m_dir.filePath(QStringLiteral("key.pem")));
        if (certificates.isEmpty() || !keyFile.open(QIODevice::ReadOnly))
            return;
        certificate = certificates.first();
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(certificate);
        configuration.setPrivateKey(QSslKey(keyFile.readAll(), QSsl::Ec));
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        m_server.setSslConfiguration(configuration);
        connect(&m_server, &QSslServer::pendingConnectionAvailable, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_buffer += socket->readAll();
                    if (m_buffer.contains("</soap:Envelope>")) {
                        m_buffer.clear();
                        socket->write(m_response);
                        socket->disconnectFromHost();
                    }
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        ready = m_server.listen(QHostAddress::LocalHost, 0);
    }

    QString baseUrl() const
    {
        return QStringLiteral("https://127.0.0.1:%1/").arg(m_server.serverPort());
    }

private:
    QTemporaryDir m_dir;
    QSslServer m_server;
    QByteArray m_response;
    QByteArray m_buffer;
};
} // namespace

class TestSoapTransport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requestIsByteExact()
    {
        RawHttpPeer peer(RawHttpPeer::Mode::Answer, okAnswer("yanzheng", "True"));
        pointClientAt(peer.baseUrl());
        QCOMPARE(NewServiceProxy()->yanzheng(QStringLiteral("张三"), QStringLiteral("p'w")),
                 QStringLiteral("True"));

        QCOMPARE(peer.requests().size(), 1);
        const QByteArray request = peer.requests().first();
        const qsizetype split = request.indexOf("\r\n\r\n");
        const QByteArray head = request.left(split);
        const QByteArray body = request.mid(split + 4);
        QVERIFY(head.startsWith("POST /qzWebService.asmx HTTP/1.1\r\n"));
        QVERIFY(head.contains("\r\nContent-Type: text/xml; charset=\"utf-8\"\r\n"));
        QVERIFY(head.contains("\r\nSOAPAction: \"http://tempuri.org/yanzheng\""));
        QVERIFY(head.contains(
            QByteArray(QByteArray("\r\nContent-Length: ") + QByteArray::number(body.size()))));
        QVERIFY(!head.toLower().contains("transfer-encoding"));
        QCOMPARE(
            body,
            QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                       "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                       "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\n"
                       "  <soap:Body><yanzheng "
                       "xmlns=\"http://tempuri.org/\"><username>\xE5\xBC\xA0\xE4\xB8\x89</username>"
                       "<userpass>p'w</userpass></yanzheng></soap:Body>\n</soap:Envelope>"));
    }

    void parametersAreEscapedAndNumbersDecimal()
    {
        RawHttpPeer peer(RawHttpPeer::Mode::Answer, okAnswer("ifchangetable", "1"));
        pointClientAt(peer.baseUrl());
        NewServiceProxy()->ifchangetable(2);
        QVERIFY(peer.requests().constFirst().endsWith(
            "<ifchangetable "
            "xmlns=\"http://tempuri.org/\"><userdj>2</userdj></ifchangetable></soap:Body>\n</"
            "soap:Envelope>"));

        RawHttpPeer second(RawHttpPeer::Mode::Answer, okAnswer("zhixing", "true"));
        pointClientAt(second.baseUrl());
        NewServiceProxy()->zhixing(QStringLiteral("a<b & c>d 'e' \"f\"\r\n"));
        QVERIFY(second.requests().constFirst().contains(
            "<sql>a&lt;b &amp; c&gt;d 'e' \"f\"&#xD;\n</sql>"));

        // A value XML cannot carry is refused before anything is sent.
        RawHttpPeer third(RawHttpPeer::Mode::Answer, okAnswer("zhixing", "true"));
        pointClientAt(third.baseUrl());
        QVERIFY(failureText([] {
                    NewServiceProxy()->zhixing(QStringLiteral("a\x01b"));
                }).contains(QStringLiteral("控制字符")));
        QCOMPARE(third.requests().size(), 0);
    }

    // https works, and certificates are always verified: an untrusted one fails the call.
    void httpsVerifiesCertificates()
    {
        TlsPeer answering(okAnswer("yanzheng", "True"));
        if (!answering.ready)
            QSKIP("no openssl or TLS backend here");

        pointClientAt(answering.baseUrl());
        const QString refused = failureText(
            [] { NewServiceProxy()->yanzheng(QStringLiteral("a"), QStringLiteral("b")); });
        QVERIFY2(refused.startsWith(QStringLiteral("无法连接服务器"))
                     && refused.contains(QStringLiteral("SSL")),
                 qPrintable(refused));

        // Once the machine trusts the certificate (as an installed CA would), the same call works.
        QSslConfiguration trusted = QSslConfiguration::defaultConfiguration();
        trusted.addCaCertificate(answering.certificate);
        QSslConfiguration::setDefaultConfiguration(trusted);
        QCOMPARE(NewServiceProxy()->yanzheng(QStringLiteral("a"), QStringLiteral("b")),
                 QStringLiteral("True"));
    }

    void eachCallUsesItsOwnConnection()
    {
        QByteArray settingCookie = okAnswer("hqdlsj", "x");
        settingCookie.replace("\r\nContent-Type:",
                              "\r\nSet-Cookie: session=abc; Path=/\r\nContent-Type:");
        RawHttpPeer peer({settingCookie, okAnswer("hqdlsj", "x")});
        pointClientAt(peer.baseUrl());
        auto first = NewServiceProxy();
        first->hqdlsj(QStringLiteral("1"));
        first.reset();
        NewServiceProxy()->hqdlsj(QStringLiteral("1"));
        // The peer keeps connections open, yet the second call opened its own.
        QCOMPARE(peer.connectionCount(), 2);
        for (const QByteArray &request : peer.requests()) {
            QVERIFY(request.contains("\r\nConnection: close\r\n"));
            QVERIFY(!request.toLower().contains("\r\ncookie:"));
        }
    }

    void failuresReachTheCallerReadably_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<QString>("expected");
        QTest::newRow("soap fault") << RawHttpPeer::httpResponse(
            500, "text/xml; charset=utf-8",
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
            "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><soap:Fault>"
            "<faultcode>soap:Server</faultcode><faultstring>Server was unable to process request. "
            "---&gt; 数据库忙</faultstring><detail /></soap:Fault></soap:Body></soap:Envelope>")
                                    << QStringLiteral(
                                           "Server was unable to process request. ---> 数据库忙");
        QTest::newRow("http 500 html")
            << RawHttpPeer::httpResponse(500, "text/html", "<html>boom</html>")
            << QStringLiteral("HTTP 错误 500");
        QTest::newRow("http 404 empty")
            << RawHttpPeer::httpResponse(404, "text/html", "") << QStringLiteral("HTTP 错误 404");
        QTest::newRow("not xml") << RawHttpPeer::httpResponse(200, "text/plain", "hello")
                                 << QStringLiteral("不是有效的 SOAP");
        QTest::newRow("wrong response element")
            << okAnswer("zhixing", "true") << QStringLiteral("不是有效的 SOAP");
        QTest::newRow("doctype smuggled in") << RawHttpPeer::httpResponse(
            200, "text/xml",
            "<!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><soap:Envelope "
            "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><hqdlsjResponse>"
            "<hqdlsjResult>&e;</hqdlsjResult></hqdlsjResponse></soap:Body></soap:Envelope>")
                                             << QStringLiteral("不是有效的 SOAP");
    }

    void failuresReachTheCallerReadably()
    {
        QFETCH(QByteArray, response);
        QFETCH(QString, expected);
        RawHttpPeer peer(RawHttpPeer::Mode::Answer, response);
        pointClientAt(peer.baseUrl());
        const QString text = failureText([] { NewServiceProxy()->hqdlsj(QStringLiteral("7")); });
        QVERIFY2(text.contains(expected), qPrintable(text));
    }

    void refusedConnectionIsAnError()
    {
        quint16 closedPort;
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost, 0);
            closedPort = probe.serverPort();
        }
        pointClientAt(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort));
        const QString text = failureText([] { NewServiceProxy()->hqSys_pz(); });
        QVERIFY2(text.startsWith(QStringLiteral("无法连接服务器 127.0.0.1:")), qPrintable(text));
    }

    // A stalled server fails the call at the time limit; meanwhile timers run, user input waits,
    // and no second call can start from inside the wait.
    void stalledServerTimesOutWithoutReentry()
    {
        RawHttpPeer peer(RawHttpPeer::Mode::NeverAnswer);
        pointClientAt(peer.baseUrl(), 700);

        QLineEdit edit;
        edit.show();
        QApplication::setActiveWindow(&edit);
        edit.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        bool tickSawCallInFlight = false;
        QString nestedCallFailure;
        QTimer tick;
        tick.setSingleShot(true);
        connect(&tick, &QTimer::timeout, this, [&] {
            tickSawCallInFlight = SoapTransport::callInFlight();
            nestedCallFailure = failureText([] { NewServiceProxy()->hqdlsj(QStringLiteral("1")); });
            // Queued as the window system would deliver a real key press.
            QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
                edit.windowHandle(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier,
                QStringLiteral("a"));
        });
        tick.start(100);

        QElapsedTimer clock;
        clock.start();
        const QString text = failureText([] { NewServiceProxy()->hqSys_pz(); });
        const qint64 waited = clock.elapsed();

        QVERIFY2(text.contains(QStringLiteral("没有应答")), qPrintable(text));
        QVERIFY2(waited >= 600 && waited < 5000, qPrintable(QString::number(waited)));
        QVERIFY(tickSawCallInFlight);
        QVERIFY(nestedCallFailure.contains(QStringLiteral("尚未结束")));
        QCOMPARE(edit.text(), QString()); // the key press was held back during the call
        QCOMPARE(peer.requests().size(), 1);
        QVERIFY(!SoapTransport::callInFlight());
        QTRY_COMPARE(edit.text(), QStringLiteral("a")); // and delivered afterwards
    }
};

QTEST_MAIN(TestSoapTransport)
#include "tst_soap_transport.moc"
