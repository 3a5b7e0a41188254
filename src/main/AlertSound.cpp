#include "main/AlertSound.h"

#include "app/UnitGlouble.h"

#include <QSoundEffect>
#include <QUrl>

QString AlertSound::fileName()
{
    return programDir + QStringLiteral("miduseing.wav");
}

QSoundEffect &AlertSound::player()
{
    static QSoundEffect *effect = new QSoundEffect; // lives until the process ends
    return *effect;
}

void AlertSound::play()
{
    QSoundEffect &effect = player();
    effect.stop();
    // Clearing the source first makes the effect read the file again: the settings window may
    // have replaced it since the last play.
    effect.setSource(QUrl());
    effect.setSource(QUrl::fromLocalFile(fileName()));
    effect.play();
}
