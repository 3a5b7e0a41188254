#include "account/AlertSoundChoice.h"

#include "app/UnitGlouble.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr QFile::Permissions normalPermissions = QFile::ReadOwner | QFile::WriteOwner
    | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;

bool copyContents(QFile &source, QSaveFile &target)
{
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = source.read(buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (target.write(buffer, got) != got)
            return false;
    }
}
} // namespace

QString alertSoundFolder()
{
    return programDir + QStringLiteral("Mid/");
}

QString alertSoundTarget()
{
    return programDir + QStringLiteral("miduseing.wav");
}

SoundChangeOutcome replaceAlertSound(const QString &chosenFile)
{
    QFile source(chosenFile);
    if (!QFileInfo(chosenFile).isFile() || !source.open(QIODevice::ReadOnly))
        return SoundChangeOutcome::Failed;
    const QString targetPath = alertSoundTarget();
    // A read-only sound must not keep its place; the rename below replaces it.
    if (QFileInfo(targetPath).isFile())
        QFile::setPermissions(targetPath, normalPermissions);
    QSaveFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly) || !copyContents(source, target) || !target.commit())
        return SoundChangeOutcome::Failed;
    QFile::setPermissions(targetPath, normalPermissions);
    return SoundChangeOutcome::Replaced;
}
