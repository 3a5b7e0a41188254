// The desktop's notification service as the client uses it on native Wayland, against a
// notification server on a session bus of the test's own (a dbus-daemon it starts): what a
// notification carries, a click reported with its activation token, closing, and no service.
#include "GuiTestMain.h"

#include "main/DesktopNotifications.h"

#include <QApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMutex>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QVariantMap>

namespace {

// What the test's notification server was told.
struct Received
{
    QString appName, icon, summary, body;
    QStringList actions;
    QVariantMap hints;
    int timeout = 0;
};

// A notification server: takes notifications, answers ids from 1 on, records what it got.
class NotificationServer final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    // Read from the test's thread while the server's thread writes.
    QList<Received> received() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_received;
    }
    QList<uint> closed() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_closed;
    }

public Q_SLOTS:
    QStringList GetCapabilities()
    {
        return {QStringLiteral("actions"), QStringLiteral("body-markup")};
    }
    uint Notify(const QString &appName, uint, const QString &icon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints,
                int timeout)
    {
        const QMutexLocker lock(&m_mutex);
        m_received.append({appName, icon, summary, body, actions, hints, timeout});
        return uint(m_received.size());
    }
    void CloseNotification(uint id)
    {
        const QMutexLocker lock(&m_mutex);
        m_closed.append(id);
    }

private:
    mutable QMutex m_mutex;
    QList<Received> m_received;
    QList<uint> m_closed;
};

} // namespace

class TestDesktopNotifications : public QObject
{
    Q_OBJECT

    QProcess bus;
    QDBusConnection serverConnection {QString()};
    // The server answers from a thread of its own: the client's calls block this one.
    QThread serverThread;
    NotificationServer &server = *new NotificationServer;

    void emitFromServer(const char *signal, const QVariantList &arguments)
    {
        QDBusMessage message = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QLatin1String(signal));
        message.setArguments(arguments);
        QVERIFY(serverConnection.send(message));
    }

private Q_SLOTS:
    void initTestCase()
    {
        bus.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
        QVERIFY2(bus.waitForStarted(), "dbus-daemon is needed (Debian package dbus)");
        QVERIFY(bus.waitForReadyRead(5000));
        const QByteArray address = bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        serverConnection =
            QDBusConnection::connectToBus(QString::fromLatin1(address), QStringLiteral("server"));
        QVERIFY(serverConnection.isConnected());
        server.moveToThread(&serverThread);
        connect(&serverThread, &QThread::finished, &server, &QObject::deleteLater);
        serverThread.start();
    }

    void cleanupTestCase()
    {
        serverThread.quit();
        serverThread.wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));
        bus.kill();
        bus.waitForFinished();
    }

    void noServiceNoNotification()
    {
        DesktopNotifications notifications;
        QVERIFY(!notifications.available());
        QVERIFY(!notifications.notify(QStringLiteral("提示"), QStringLiteral("x"), 6000));
    }

    void notificationCarriesThePopup()
    {
        QVERIFY(serverConnection.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                                &server, QDBusConnection::ExportAllSlots));
        QVERIFY(serverConnection.registerService(QStringLiteral("org.freedesktop.Notifications")));
        DesktopNotifications notifications;
        QVERIFY(notifications.available());
        QVERIFY(
            notifications.notify(QStringLiteral("提示"),
                                 QStringLiteral("弹出时间：2026-12-09 10:01:00\r股票代码：<600519>"
                                                "\r操作方式：买入&持有"),
                                 6000));
        QCOMPARE(server.received().size(), 1);
        const Received got = server.received().first();
        QCOMPARE(got.appName, QStringLiteral("TipDesk"));
        QCOMPARE(got.summary, QStringLiteral("提示"));
        // Lines as lines; an operator's text is not taken for markup.
        QCOMPARE(got.body,
                 QStringLiteral("弹出时间：2026-12-09 10:01:00\n股票代码：&lt;600519&gt;\n"
                                "操作方式：买入&amp;持有"));
        QCOMPARE(got.timeout, 6000);
        QVERIFY(got.actions.contains(QStringLiteral("default")));
        QCOMPARE(got.hints.value(QStringLiteral("desktop-entry")).toString(),
                 QStringLiteral("io.tipdesk.TipDesk"));
        QCOMPARE(got.hints.value(QStringLiteral("suppress-sound")).toBool(), true);
        QVERIFY(!got.icon.isEmpty());
        QCOMPARE(notifications.shownCount(), 1);

        // A click: the service hands a token, then invokes the default action. The client's
        // signal subscriptions are set up on the bus connection's own thread, a moment after the
        // first call, so the click is repeated (with a token of its own) until both signals land.
        QSignalSpy activated(&notifications, &DesktopNotifications::activated);
        QString token;
        for (int attempt = 0; attempt < 25; ++attempt) {
            token = QStringLiteral("kwin-%1").arg(attempt);
            emitFromServer("ActivationToken", {1u, token});
            emitFromServer("ActionInvoked", {1u, QStringLiteral("default")});
            if (activated.wait(200) && activated.last().first().toString() == token)
                break;
        }
        QVERIFY(!activated.isEmpty());
        QCOMPARE(activated.last().first().toString(), token);
        activated.clear();

        // Another client's notification is none of ours.
        emitFromServer("ActionInvoked", {77u, QStringLiteral("default")});
        QVERIFY(!activated.wait(300));

        notifications.closeAll();
        QTRY_COMPARE(server.closed(), QList<uint> {1u});
        QCOMPARE(notifications.shownCount(), 0);
    }
};

TIPDESK_GUI_TEST_MAIN(TestDesktopNotifications)
#include "tst_desktop_notifications.moc"
