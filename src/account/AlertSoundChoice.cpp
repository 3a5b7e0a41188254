#include "account/AlertSoundChoice.h"

#include "account/SoundFile.h"
#include "app/UnitGlouble.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr QFile::Permissions normalPermissions = QFile::ReadOwner | QFile::WriteOwner
    | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;

// Copies the whole source, which may not grow past a sound's size while it is read.
SoundChangeOutcome copyContents(QFile &source, QSaveFile &target)
{
    char buffer[64 * 1024];
    for (qint64 copied = 0;;) {
        const qint64 got = source.read(buffer, sizeof buffer);
        if (got < 0)
            return SoundChangeOutcome::Failed;
        if (got == 0)
            return SoundChangeOutcome::Replaced;
        copied += got;
        if (copied > maxSoundBytes)
            return SoundChangeOutcome::TooLarge;
        if (target.write(buffer, got) != got)
            return SoundChangeOutcome::Failed;
    }
}

// The chosen file's name, kept beside the sound for the sound page.
QString alertSoundNameFile()
{
    return programDir + QStringLiteral("miduseing.name");
}

constexpr qint64 maxNameBytes = 1024;

// Without a name file (this one cannot be written, say) the page names the sound "miduseing.wav",
// which is still true; a stale name would not be.
void rememberSoundName(const QString &chosenFile)
{
    QFile::remove(alertSoundNameFile());
    QSaveFile name(alertSoundNameFile());
    if (name.open(QIODevice::WriteOnly)) {
        name.write(QFileInfo(chosenFile).fileName().toUtf8());
        name.commit();
    }
}

bool isBuiltInSound()
{
    QFile builtIn(QStringLiteral(":/sounds/miduseing.wav"));
    QFile inUse;
    return builtIn.open(QIODevice::ReadOnly)
        && openLocalFile(alertSoundTarget(), maxSoundBytes, inUse) == LocalFileCheck::Usable
        && inUse.size() == builtIn.size() && inUse.readAll() == builtIn.readAll();
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

QString alertSoundName()
{
    QFile file;
    if (openLocalFile(alertSoundNameFile(), maxNameBytes, file) == LocalFileCheck::Usable) {
        const QString name = QString::fromUtf8(file.readAll()).trimmed();
        if (!name.isEmpty())
            return name;
    }
    return isBuiltInSound() ? QString() : QFileInfo(alertSoundTarget()).fileName();
}

SoundChangeOutcome replaceAlertSound(const QString &chosenFile)
{
    QFile source;
    switch (openLocalFile(chosenFile, maxSoundBytes, source)) {
    case LocalFileCheck::Usable:
        break;
    case LocalFileCheck::NotAFile:
        return SoundChangeOutcome::Failed;
    case LocalFileCheck::TooLarge:
        return SoundChangeOutcome::TooLarge;
    }
    const QString targetPath = alertSoundTarget();
    // A read-only sound must not keep its place; the rename below replaces it.
    if (QFileInfo(targetPath).isFile())
        QFile::setPermissions(targetPath, normalPermissions);
    QSaveFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly))
        return SoundChangeOutcome::Failed;
    const SoundChangeOutcome copy = copyContents(source, target);
    if (copy != SoundChangeOutcome::Replaced)
        return copy; // the unfinished copy is dropped with `target`
    if (!target.commit())
        return SoundChangeOutcome::Failed;
    QFile::setPermissions(targetPath, normalPermissions);
    rememberSoundName(chosenFile);
    return SoundChangeOutcome::Replaced;
}
