#include "main/DesktopQuietState.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QLibrary>
#include <QVariantMap>

#include <gio/gio.h>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
const char *const gnomeSchema = "org.gnome.desktop.notifications";
const char *const bannersKey = "show-banners";

// The few GSettings calls needed, taken from the system's GIO when the watch starts: linked, the
// library would be loaded and relocated at every start for a setting read after the login.
struct Gio
{
    decltype(&g_settings_schema_source_get_default) sourceGetDefault = nullptr;
    decltype(&g_settings_schema_source_lookup) sourceLookup = nullptr;
    decltype(&g_settings_schema_has_key) schemaHasKey = nullptr;
    decltype(&g_settings_schema_unref) schemaUnref = nullptr;
    decltype(&g_settings_new) settingsNew = nullptr;
    decltype(&g_settings_get_boolean) getBoolean = nullptr;
    decltype(&g_signal_connect_data) signalConnect = nullptr;
    decltype(&g_signal_handlers_disconnect_matched) signalDisconnect = nullptr;
    decltype(&g_object_unref) objectUnref = nullptr;

    bool loaded() const { return objectUnref; }
};

const Gio &gio()
{
    static const Gio functions = [] {
        Gio f;
        QLibrary library(QStringLiteral("gio-2.0"), 0);
        if (!library.load())
            return f;
        const auto take = [&library](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                library.resolve(name));
            return function != nullptr;
        };
        if (take(f.sourceGetDefault, "g_settings_schema_source_get_default")
            && take(f.sourceLookup, "g_settings_schema_source_lookup")
            && take(f.schemaHasKey, "g_settings_schema_has_key")
            && take(f.schemaUnref, "g_settings_schema_unref")
            && take(f.settingsNew, "g_settings_new") && take(f.getBoolean, "g_settings_get_boolean")
            && take(f.signalConnect, "g_signal_connect_data")
            && take(f.signalDisconnect, "g_signal_handlers_disconnect_matched")
            && take(f.objectUnref, "g_object_unref"))
            return f;
        return Gio();
    }();
    return functions;
}

// GNOME's notification settings, when this system has their schema (GSettings aborts on one it
// does not know).
GSettings *gnomeNotificationSettings()
{
    const Gio &g = gio();
    if (!g.loaded())
        return nullptr;
    GSettingsSchemaSource *source = g.sourceGetDefault();
    GSettingsSchema *schema = source ? g.sourceLookup(source, gnomeSchema, TRUE) : nullptr;
    if (!schema)
        return nullptr;
    const bool hasKey = g.schemaHasKey(schema, bannersKey);
    g.schemaUnref(schema);
    return hasKey ? g.settingsNew(gnomeSchema) : nullptr;
}

} // namespace

DesktopQuietState::DesktopQuietState(QObject *parent) : QObject(parent) { }

DesktopQuietState::~DesktopQuietState()
{
    if (m_gnomeNotifications) {
        gio().signalDisconnect(m_gnomeNotifications, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                               this);
        gio().objectUnref(m_gnomeNotifications);
    }
}

void DesktopQuietState::start()
{
    if (m_started)
        return;
    m_started = true;

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        bus.connect(service, path, properties, QStringLiteral("PropertiesChanged"), this,
                    SLOT(PropertiesChanged(QString, QVariantMap, QStringList)));
        QDBusMessage get =
            QDBusMessage::createMethodCall(service, path, properties, QStringLiteral("Get"));
        get.setArguments({service, QStringLiteral("Inhibited")});
        // Asked without waiting: a server without the property (GNOME's) answers an error.
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(get, 2000), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this](QDBusPendingCallWatcher *call) {
                    const QDBusPendingReply<QDBusVariant> reply = *call;
                    if (reply.isValid())
                        update(reply.value().variant().toBool(), m_bannersOff);
                    call->deleteLater();
                });
    }

    m_gnomeNotifications = gnomeNotificationSettings();
    if (m_gnomeNotifications) {
        gio().signalConnect(m_gnomeNotifications, "changed::show-banners",
                            G_CALLBACK(&DesktopQuietState::showBannersChanged), this, nullptr,
                            GConnectFlags(0));
        update(m_inhibited, !gio().getBoolean(m_gnomeNotifications, bannersKey));
    }
}

void DesktopQuietState::PropertiesChanged(const QString &interface, const QVariantMap &changed,
                                          const QStringList &)
{
    if (interface == service && changed.contains(QStringLiteral("Inhibited")))
        update(changed.value(QStringLiteral("Inhibited")).toBool(), m_bannersOff);
}

void DesktopQuietState::showBannersChanged(GSettings *settings, const char *, void *self)
{
    auto *state = static_cast<DesktopQuietState *>(self);
    state->update(state->m_inhibited, !gio().getBoolean(settings, bannersKey));
}

void DesktopQuietState::update(bool inhibited, bool bannersOff)
{
    const bool wasQuiet = quiet();
    m_inhibited = inhibited;
    m_bannersOff = bannersOff;
    if (quiet() != wasQuiet)
        Q_EMIT changed(quiet());
}
