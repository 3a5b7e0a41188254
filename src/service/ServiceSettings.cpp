#include "service/ServiceSettings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <memory>
#include <vector>

#ifndef TIPDESK_DEFAULT_SERVER
#define TIPDESK_DEFAULT_SERVER "http://127.0.0.1:8080/"
#endif

namespace {

const QString fileName = QStringLiteral("tipdesk.conf");

QString withTrailingSlash(QString address)
{
    if (!address.endsWith(QLatin1Char('/')))
        address += QLatin1Char('/');
    return address;
}

// The setting files that exist, most important first: the user's own, then the system's.
class SettingLayers
{
public:
    SettingLayers()
    {
        QStringList paths {ServiceSettings::settingsFilePath()};
        paths += ServiceSettings::systemSettingsFilePaths();
        for (const QString &path : paths) {
            if (QFileInfo(path).isFile())
                m_files.push_back(std::make_unique<QSettings>(path, QSettings::IniFormat));
        }
    }

    // The value of the most important file that has the key, and that file's path.
    std::pair<QVariant, QString> value(const QString &key) const
    {
        for (const auto &file : m_files) {
            if (file->contains(key))
                return {file->value(key), file->fileName()};
        }
        return {};
    }

private:
    std::vector<std::unique_ptr<QSettings>> m_files;
};

} // namespace

QString ServiceSettings::builtInBaseAddress()
{
    return withTrailingSlash(QStringLiteral(TIPDESK_DEFAULT_SERVER));
}

QString ServiceSettings::settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u'/' + fileName;
}

QStringList ServiceSettings::systemSettingsFilePaths()
{
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::AppConfigLocation);
    folders.removeAll(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    QStringList paths;
    for (const QString &folder : std::as_const(folders))
        paths.append(folder + u'/' + fileName);
    return paths;
}

ServiceSettings ServiceSettings::load()
{
    const SettingLayers layers;
    ServiceSettings settings;

    const QString fromEnvironment = qEnvironmentVariable("TIPDESK_SERVER").trimmed();
    const auto [base, baseFile] = layers.value(QStringLiteral("server/base"));
    if (!fromEnvironment.isEmpty()) {
        settings.baseAddress = withTrailingSlash(fromEnvironment);
        settings.baseAddressSource = QStringLiteral("TIPDESK_SERVER");
    } else if (!base.toString().trimmed().isEmpty()) {
        settings.baseAddress = withTrailingSlash(base.toString().trimmed());
        settings.baseAddressSource = baseFile;
    }

    const QString serviceNamespace =
        layers.value(QStringLiteral("server/namespace")).first.toString().trimmed();
    if (!serviceNamespace.isEmpty())
        settings.serviceNamespace = serviceNamespace;

    bool ok = false;
    const int seconds = layers.value(QStringLiteral("server/timeoutSeconds")).first.toInt(&ok);
    if (ok && seconds > 0)
        settings.callTimeoutMs = seconds * 1000;
    constexpr qint64 megabyte = 1024 * 1024;
    const qint64 megabytes =
        layers.value(QStringLiteral("server/maxAnswerMegabytes")).first.toLongLong(&ok);
    if (ok && megabytes > 0 && megabytes <= 4096)
        settings.maxAnswerBytes = megabytes * megabyte;
    return settings;
}
