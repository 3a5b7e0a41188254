#include "app/PrivateModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString privateModulePath(const char *fileName, const char *overrideVariable)
{
    const QString named = qEnvironmentVariable(overrideVariable);
    if (!named.isEmpty())
        return named;
    const QDir program(QCoreApplication::applicationDirPath());
    const QString file = QString::fromLatin1(fileName);
    for (const QString &candidate :
         {program.filePath(file), program.filePath(QStringLiteral("../lib/tipdesk/") + file)}) {
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return program.filePath(file);
}
