#pragma once

#include <QObject>

typedef struct _GSettings GSettings;

// Whether the desktop itself is in do-not-disturb: the notification server's `Inhibited` property
// (Plasma), or GNOME's "show-banners" setting turned off. Watched from start() on; a desktop that
// has neither is never quiet.
class DesktopQuietState final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopQuietState)

public:
    explicit DesktopQuietState(QObject *parent = nullptr);
    ~DesktopQuietState() override;

    void start();
    bool quiet() const { return m_inhibited || m_bannersOff; }

Q_SIGNALS:
    void changed(bool quiet);

private Q_SLOTS:
    void PropertiesChanged(const QString &interface, const QVariantMap &changed,
                           const QStringList &invalidated);

private:
    void update(bool inhibited, bool bannersOff);
    static void showBannersChanged(GSettings *settings, const char *key, void *self);

    bool m_started = false;
    bool m_inhibited = false;
    bool m_bannersOff = false;
    GSettings *m_gnomeNotifications = nullptr;
};
