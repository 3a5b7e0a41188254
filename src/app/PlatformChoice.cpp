#include "app/PlatformChoice.h"

#include <QRegularExpression>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The value of the last "-platform X" or "--platform X", read as QGuiApplication reads its
// arguments (Qt 6.4 takes no "-platform=X" form); empty when there is none.
QString platformArgument(const QStringList &arguments)
{
    QString chosen;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if ((argument == u"-platform" || argument == u"--platform") && i + 1 < arguments.size())
            chosen = arguments[++i];
    }
    return chosen;
}

bool isWaylandSession(const QProcessEnvironment &environment)
{
    return !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty()
        || environment.value(QStringLiteral("XDG_SESSION_TYPE")) == u"wayland";
}

// Connects to a Unix socket without blocking; a listener with a full backlog still counts.
bool acceptsConnection(const QByteArray &address, bool abstract)
{
    sockaddr_un peer {};
    peer.sun_family = AF_UNIX;
    const qsizetype offset = abstract ? 1 : 0; // an abstract name starts with a zero byte
    if (address.size() + offset >= qsizetype(sizeof(peer.sun_path)))
        return false;
    std::memcpy(peer.sun_path + offset, address.constData(), size_t(address.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + offset + address.size());
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr *>(&peer), length) == 0
        || errno == EAGAIN || errno == EINPROGRESS;
    ::close(fd);
    return connected;
}

} // namespace

PlatformChoice choosePlatform(const QProcessEnvironment &environment, const QStringList &arguments,
                              const std::function<bool(const QString &display)> &xServerReachable)
{
    if (const QString chosen = platformArgument(arguments); !chosen.isEmpty())
        return {{}, QStringLiteral("the command line chose %1").arg(chosen)};
    if (const QString chosen = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
        !chosen.isEmpty())
        return {{}, QStringLiteral("QT_QPA_PLATFORM chose %1").arg(chosen)};
    if (!isWaylandSession(environment))
        return {{}, QStringLiteral("not a Wayland session")};

    const QString display = environment.value(QStringLiteral("DISPLAY"));
    if (display.isEmpty())
        return {{}, QStringLiteral("Wayland session without DISPLAY: native Wayland")};
    if (!xServerReachable(display))
        return {{},
                QStringLiteral("Wayland session, X display %1 does not answer: native Wayland")
                    .arg(display)};
    // Wayland stays as a fallback should the X server refuse the connection after all.
    return {"xcb;wayland",
            QStringLiteral("Wayland session with X display %1: X11, so that popups keep their "
                           "place and minimising to the tray is noticed")
                .arg(display)};
}

bool xServerReachable(const QString &display, const QString &socketFolder)
{
    static const QRegularExpression localDisplay(
        QStringLiteral(R"(^(?:unix)?:(\d{1,6})(?:\.\d+)?$)"));
    const QRegularExpressionMatch match = localDisplay.match(display);
    if (!match.hasMatch())
        return false;
    const QByteArray socket = (socketFolder + u"/X" + match.captured(1)).toLocal8Bit();
    return acceptsConnection(socket, false) || acceptsConnection(socket, true);
}
