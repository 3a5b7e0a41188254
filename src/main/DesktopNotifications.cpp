#include "main/DesktopNotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QIcon>
#include <QStandardPaths>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString defaultAction = QStringLiteral("default");

// A service that does not answer within this costs the poll no more than that.
constexpr int callTimeoutMs = 1000;

} // namespace

DesktopNotifications::DesktopNotifications(QObject *parent) : QObject(parent) { }

DesktopNotifications::~DesktopNotifications()
{
    closeAll();
}

QDBusMessage DesktopNotifications::call(const QString &method, const QVariantList &arguments) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, callTimeoutMs);
}

bool DesktopNotifications::available()
{
    if (m_available)
        return *m_available;
    QDBusConnection bus = QDBusConnection::sessionBus();
    m_available = false;
    if (!bus.isConnected())
        return false;
    if (!m_connected) {
        m_connected = true;
        bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                    SLOT(ActionInvoked(uint, QString)));
        bus.connect(service, path, interface, QStringLiteral("ActivationToken"), this,
                    SLOT(ActivationToken(uint, QString)));
        bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                    SLOT(NotificationClosed(uint, uint)));
    }
    const QDBusMessage capabilities = call(QStringLiteral("GetCapabilities"), {});
    if (capabilities.type() != QDBusMessage::ReplyMessage || capabilities.arguments().isEmpty())
        return false;
    m_bodyMarkup =
        capabilities.arguments().first().toStringList().contains(QStringLiteral("body-markup"));
    m_available = true;
    return true;
}

QString DesktopNotifications::iconName() const
{
    // Installed, the icon theme has the application's icon; run from a build, a copy of the
    // picture in the data folder stands in for it.
    const QString name = QLatin1String(desktopEntry);
    if (QIcon::hasThemeIcon(name))
        return name;
    const QString copy = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/notification-icon.png");
    if (!QFile::exists(copy))
        QFile::copy(QStringLiteral(":/main/tipdesk.png"), copy);
    return QFile::exists(copy) ? QStringLiteral("file://") + copy : name;
}

bool DesktopNotifications::notify(const QString &title, const QString &text, int timeoutMs)
{
    if (!available())
        return false;
    // Lines end with carriage returns in the popups; a service that reads markup would take an
    // operator's "<" or "&" for it.
    QString body = QString(text).replace(QChar(13), QChar(10));
    if (m_bodyMarkup)
        body = body.toHtmlEscaped();
    const QVariantMap hints {
        {QStringLiteral("desktop-entry"), QLatin1String(desktopEntry)},
        {QStringLiteral("suppress-sound"), true}, // the client plays its own alert sound
        {QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)},
    };
    const QDBusMessage reply =
        call(QStringLiteral("Notify"),
             {QStringLiteral("TipDesk"), 0u, iconName(), title, body,
              QStringList {defaultAction, QStringLiteral("打开主窗口")}, hints, timeoutMs});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        m_available.reset(); // asked again next time
        return false;
    }
    m_shown.insert(reply.arguments().first().toUInt(), QString());
    return true;
}

void DesktopNotifications::closeAll()
{
    for (const uint id : m_shown.keys()) {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface,
                                                              QStringLiteral("CloseNotification"));
        message.setArguments({id});
        QDBusConnection::sessionBus().send(message); // no answer to wait for
    }
    m_shown.clear();
}

void DesktopNotifications::ActivationToken(uint id, const QString &token)
{
    if (m_shown.contains(id))
        m_shown[id] = token;
}

void DesktopNotifications::ActionInvoked(uint id, const QString &actionKey)
{
    if (!m_shown.contains(id) || actionKey != defaultAction)
        return;
    Q_EMIT activated(m_shown.value(id));
}

void DesktopNotifications::NotificationClosed(uint id, uint)
{
    m_shown.remove(id);
}
