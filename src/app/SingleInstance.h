#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QLocalServer;

// One client per user: the first start listens on a local socket in the user's runtime folder; a
// later start finds it there, asks it to come forward and ends. Two copies of one account would
// otherwise take the login from each other.
class SingleInstance final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    enum class Claim {
        First, // this process is the client; later starts reach it
        AlreadyRunning, // another client runs and was asked to come forward
    };

    // socketPath: full path of the socket; the default is the user's own.
    explicit SingleInstance(const QString &socketPath = defaultSocketPath(),
                            QObject *parent = nullptr);
    ~SingleInstance() override;

    // Decides which of the two this start is. Starts at the same moment take turns through a lock
    // file beside the socket, so exactly one of them becomes the first. A socket file that nobody
    // answers on (left by a crashed run) is taken over.
    Claim claim();

    QString socketPath() const { return m_socketPath; }
    bool listening() const;

    // The socket in the user's runtime folder ($XDG_RUNTIME_DIR), named after the application.
    static QString defaultSocketPath();

    // What a later start sends: "show", then the activation token its launcher gave it (on
    // Wayland the compositor brings a window forward only with one), if any, then a line end.
    static QByteArray showRequest(const QString &activationToken);
    // The token of a request, when it is one: empty for a plain "show"; none for anything else.
    static std::optional<QString> parseShowRequest(const QByteArray &request);
    // The longest request a connection may send.
    static constexpr int maxRequestBytes = 300;

Q_SIGNALS:
    // A later start asked this one to show itself, handing on its activation token (maybe empty).
    void showRequested(const QString &activationToken);

private:
    bool askRunningInstance();
    void listen();
    void acceptRequests();

    QString m_socketPath;
    QLocalServer *m_server = nullptr;
};
