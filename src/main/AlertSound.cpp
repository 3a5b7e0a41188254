#include "main/AlertSound.h"

#include "app/UnitGlouble.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace {
std::function<void()> &fallback()
{
    static std::function<void()> beep = [] { QApplication::beep(); };
    return beep;
}
} // namespace

QString AlertSound::fileName()
{
    return programDir + QStringLiteral("miduseing.wav");
}

QSoundEffect &AlertSound::player()
{
    static QSoundEffect *effect = [] {
        auto *created = new QSoundEffect; // lives until the process ends
        // A file that is there but cannot be decoded shows only once it has been loaded.
        QObject::connect(created, &QSoundEffect::statusChanged, created, [created] {
            if (created->status() == QSoundEffect::Error)
                fallback()();
        });
        return created;
    }();
    return *effect;
}

void AlertSound::setFallback(std::function<void()> replacement)
{
    fallback() = replacement ? std::move(replacement) : [] { QApplication::beep(); };
}

void AlertSound::play()
{
    QSoundEffect &effect = player();
    effect.stop();
    const QFileInfo file(fileName());
    if (!file.isFile() || !file.isReadable()) {
        effect.setSource(QUrl());
        fallback()();
        return;
    }
    // Clearing the source first makes the effect read the file again: the settings window may
    // have replaced it since the last play.
    effect.setSource(QUrl());
    effect.setSource(QUrl::fromLocalFile(file.filePath()));
    effect.play();
}
