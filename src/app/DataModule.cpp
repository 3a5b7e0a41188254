#include "app/DataModule.h"

#include "app/UnitGlouble.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLoggingCategory>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcDataModule, "tipdesk.app", QtWarningMsg)

DataModule::DataModule()
{
    programDir = computeProgramDir();
    installDefaultSounds(programDir);
}

QString DataModule::computeProgramDir()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

void DataModule::installDefaultSounds(const QString &folder)
{
    const QString source = QStringLiteral(":/sounds/");
    QDirIterator files(source, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString to = folder + from.mid(source.size());
        if (QFile::exists(to))
            continue;
        QDir().mkpath(QFileInfo(to).absolutePath());
        if (!QFile::copy(from, to)) {
            qCWarning(lcDataModule) << "could not install sound" << to;
            continue;
        }
        // Resource files come read-only; the user may replace these later.
        QFile::setPermissions(
            to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}
