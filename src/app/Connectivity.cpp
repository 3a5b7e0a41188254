#include "app/Connectivity.h"

#include <QHostAddress>
#include <QNetworkInformation>
#include <QNetworkInterface>

namespace {
bool isLoopbackServer(const QUrl &server)
{
    const QString host = server.host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

bool anyInterfaceUp()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &nic : interfaces) {
        const auto flags = nic.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp)
            || !flags.testFlag(QNetworkInterface::IsRunning)
            || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : nic.addressEntries()) {
            if (!entry.ip().isNull() && !entry.ip().isLoopback() && !entry.ip().isLinkLocal())
                return true;
        }
    }
    return false;
}
} // namespace

bool ConnectivityCheck(const QUrl &server)
{
    if (isLoopbackServer(server))
        return true;
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        switch (QNetworkInformation::instance()->reachability()) {
        case QNetworkInformation::Reachability::Online:
        case QNetworkInformation::Reachability::Site:
            return true;
        case QNetworkInformation::Reachability::Disconnected:
        case QNetworkInformation::Reachability::Local:
            return false;
        case QNetworkInformation::Reachability::Unknown:
            break;
        }
    }
    return anyInterfaceUp();
}
