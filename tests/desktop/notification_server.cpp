// A notification server the desktop suite owns: it takes org.freedesktop.Notifications on the
// session bus before the shell can, writes every Notify call as one JSON line to the file given
// as the only argument, and on request (the io.tipdesk.TestNotifications interface on /control)
// emits ActionInvoked or NotificationClosed and changes its Inhibited property, as a person
// clicking or dismissing a notification would. Prints "ready" once the name is owned.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace {
const QString servicePath = QStringLiteral("/org/freedesktop/Notifications");
const QString notificationsInterface = QStringLiteral("org.freedesktop.Notifications");

// A hint as JSON: plain values as they are, structures (image data) only by their signature.
QJsonValue hintValue(const QVariant &value)
{
    if (value.canConvert<QDBusArgument>())
        return QStringLiteral("<%1>").arg(value.value<QDBusArgument>().currentSignature());
    if (value.typeId() == QMetaType::UChar)
        return int(value.value<uchar>());
    return QJsonValue::fromVariant(value);
}
} // namespace

class NotificationServer : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
    Q_PROPERTY(bool Inhibited READ inhibited)

public:
    explicit NotificationServer(const QString &recordPath) : m_record(recordPath) { }

    bool openRecord() { return m_record.open(QIODevice::WriteOnly | QIODevice::Append); }
    bool inhibited() const { return m_inhibited; }

    void record(const QJsonObject &entry)
    {
        m_record.write(QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n');
        m_record.flush();
    }

    void setInhibited(bool inhibited)
    {
        m_inhibited = inhibited;
        QDBusMessage changed = QDBusMessage::createSignal(
            servicePath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("PropertiesChanged"));
        changed << notificationsInterface
                << QVariantMap {{QStringLiteral("Inhibited"), QVariant(inhibited)}}
                << QStringList();
        QDBusConnection::sessionBus().send(changed);
    }

public Q_SLOTS:
    uint Notify(const QString &app_name, uint replaces_id, const QString &app_icon,
                const QString &summary, const QString &body, const QStringList &actions,
                const QVariantMap &hints, int expire_timeout)
    {
        const uint id = replaces_id ? replaces_id : ++m_lastId;
        // Which process sent it, so the suite can tell the client's notifications from others'.
        const qint64 senderPid = calledFromDBus()
            ? connection().interface()->servicePid(message().service()).value()
            : 0;
        QJsonObject hintObject;
        for (auto hint = hints.cbegin(); hint != hints.cend(); ++hint)
            hintObject.insert(hint.key(), hintValue(hint.value()));
        record({{"call", "Notify"},
                {"id", qint64(id)},
                {"sender_pid", senderPid},
                {"app_name", app_name},
                {"replaces_id", qint64(replaces_id)},
                {"app_icon", app_icon},
                {"summary", summary},
                {"body", body},
                {"actions", QJsonArray::fromStringList(actions)},
                {"hints", hintObject},
                {"expire_timeout", expire_timeout}});
        return id;
    }

    void CloseNotification(uint id)
    {
        record({{"call", "CloseNotification"}, {"id", qint64(id)}});
        Q_EMIT NotificationClosed(id, 3); // closed by a call to CloseNotification
    }

    QStringList GetCapabilities()
    {
        return {QStringLiteral("actions"), QStringLiteral("body"), QStringLiteral("persistence")};
    }

    QString GetServerInformation(QString &vendor, QString &version, QString &specVersion)
    {
        vendor = QStringLiteral("TipDesk desktop suite");
        version = QStringLiteral("1");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("tipdesk-suite-notifications");
    }

Q_SIGNALS:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString &action_key);

private:
    QFile m_record;
    uint m_lastId = 0;
    bool m_inhibited = false;
};

// What the suite asks of the server, as a person's clicks on the notifications would do.
class NotificationControl : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.tipdesk.TestNotifications")

public:
    explicit NotificationControl(NotificationServer &server) : m_server(server) { }

public Q_SLOTS:
    void InvokeAction(uint id, const QString &actionKey)
    {
        m_server.record({{"call", "InvokeAction"}, {"id", qint64(id)}, {"action", actionKey}});
        Q_EMIT m_server.ActionInvoked(id, actionKey);
    }

    void Close(uint id, uint reason)
    {
        m_server.record({{"call", "Close"}, {"id", qint64(id)}, {"reason", qint64(reason)}});
        Q_EMIT m_server.NotificationClosed(id, reason);
    }

    void SetInhibited(bool inhibited) { m_server.setInhibited(inhibited); }

private:
    NotificationServer &m_server;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: notification_server RECORD-FILE\n");
        return 2;
    }
    NotificationServer server(QString::fromLocal8Bit(argv[1]));
    if (!server.openRecord()) {
        std::fprintf(stderr, "notification_server: cannot write %s\n", argv[1]);
        return 1;
    }
    NotificationControl control(server);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "notification_server: no session bus\n");
        return 1;
    }
    bus.registerObject(servicePath, &server,
                       QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals
                           | QDBusConnection::ExportAllProperties);
    bus.registerObject(QStringLiteral("/control"), &control, QDBusConnection::ExportAllSlots);
    // No queueing and no replacement: a shell started later must not take the name over.
    const auto owned = bus.interface()->registerService(
        notificationsInterface, QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (owned.value() != QDBusConnectionInterface::ServiceRegistered) {
        std::fprintf(stderr, "notification_server: %s is owned by another program\n",
                     qPrintable(notificationsInterface));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "notification_server.moc"
