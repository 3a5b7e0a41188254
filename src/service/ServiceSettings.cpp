#include "service/ServiceSettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
const ServiceSettings defaults;

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
        base = file.value(QStringLiteral("server/base"), defaults.baseAddress).toString();
    settings.baseAddress = withTrailingSlash(base.trimmed());
    settings.serviceNamespace =
        file.value(QStringLiteral("server/namespace"), defaults.serviceNamespace)
            .toString()
            .trimmed();
    if (settings.serviceNamespace.isEmpty())
        settings.serviceNamespace = defaults.serviceNamespace;
    bool ok = false;
    const int seconds =
        file.value(QStringLiteral("server/timeoutSeconds"), defaults.callTimeoutMs / 1000)
            .toInt(&ok);
    settings.callTimeoutMs = ok && seconds > 0 ? seconds * 1000 : defaults.callTimeoutMs;
    constexpr qint64 megabyte = 1024 * 1024;
    const qint64 megabytes =
        file.value(QStringLiteral("server/maxAnswerMegabytes"), defaults.maxAnswerBytes / megabyte)
            .toLongLong(&ok);
    settings.maxAnswerBytes =
        ok && megabytes > 0 && megabytes <= 4096 ? megabytes * megabyte : defaults.maxAnswerBytes;
    return settings;
}
