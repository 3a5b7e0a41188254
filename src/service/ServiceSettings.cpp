#include "service/ServiceSettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
const auto defaultBase = QStringLiteral("http://127.0.0.1:8080/");
const auto defaultNamespace = QStringLiteral("http://tempuri.org/");
constexpr int defaultTimeoutSeconds = 20;

QString withTrailingSlash(QString address)
{
    if (!address.endsWith(QLatin1Char('/')))
        address += QLatin1Char('/');
    return address;
}
} // namespace

QString ServiceSettings::settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
            + QStringLiteral("/tipdesk.conf");
}

ServiceSettings ServiceSettings::load()
{
    QSettings file(settingsFilePath(), QSettings::IniFormat);
    ServiceSettings settings;
    QString base = qEnvironmentVariable("TIPDESK_SERVER");
    if (base.trimmed().isEmpty())
        base = file.value(QStringLiteral("server/base"), defaultBase).toString();
    settings.baseAddress = withTrailingSlash(base.trimmed());
    settings.serviceNamespace =
            file.value(QStringLiteral("server/namespace"), defaultNamespace).toString().trimmed();
    if (settings.serviceNamespace.isEmpty())
        settings.serviceNamespace = defaultNamespace;
    bool ok = false;
    const int seconds = file.value(QStringLiteral("server/timeoutSeconds"), defaultTimeoutSeconds).toInt(&ok);
    settings.callTimeoutMs = (ok && seconds > 0 ? seconds : defaultTimeoutSeconds) * 1000;
    return settings;
}
