#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <optional>

class QDBusMessage;

// The desktop's own notification service (org.freedesktop.Notifications on the session bus), for
// a client that cannot place windows of its own (native Wayland). Each notification carries the
// application's icon and desktop entry, the popup's title and text and time-out, and a default
// action; invoking it (a click on the notification) is reported with the activation token the
// service gave, so that the main window may come to the front.
class DesktopNotifications final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotifications)

public:
    explicit DesktopNotifications(QObject *parent = nullptr);
    ~DesktopNotifications() override;

    // Whether a notification service answers; asked once, within a short time-limit, and asked
    // again after a notification it did not take.
    bool available();

    // Sends one notification. The text's carriage returns end lines. False when no service took it.
    bool notify(const QString &title, const QString &text, int timeoutMs);
    // Closes the notifications this client sent that are still shown.
    void closeAll();
    // How many of this client's notifications are shown now.
    int shownCount() const { return int(m_shown.size()); }

    // The desktop entry and icon name the notifications name.
    static constexpr const char *desktopEntry = "io.tipdesk.TipDesk";

Q_SIGNALS:
    // The person clicked one of this client's notifications; the token (maybe empty) lets the
    // compositor bring a window to the front.
    void activated(const QString &activationToken);

private Q_SLOTS:
    void ActionInvoked(uint id, const QString &actionKey);
    void ActivationToken(uint id, const QString &token);
    void NotificationClosed(uint id, uint reason);

private:
    QString iconName() const;
    // A call to the service, answered within a short time-limit.
    QDBusMessage call(const QString &method, const QVariantList &arguments) const;

    bool m_connected = false; // to the service's signals
    std::optional<bool> m_available;
    bool m_bodyMarkup = false;
    QHash<uint, QString> m_shown; // id -> activation token given for it
};
