#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

TestEnvironment::TestEnvironment()
{
    const QString root = m_dir.path();
    for (const char *sub : {"config", "data", "cache", "runtime"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", root.toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (root + QStringLiteral("/runtime")).toUtf8());
    // No test reaches the developer's session bus (their keyring, their notifications): a test
    // that needs a bus starts one of its own.
    qputenv("DBUS_SESSION_BUS_ADDRESS",
            ("unix:path=" + root + QStringLiteral("/runtime/no-bus")).toUtf8());
    QStandardPaths::setTestModeEnabled(false);
}

QString TestEnvironment::configDir() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString TestEnvironment::dataDir() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}
