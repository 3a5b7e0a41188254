#include "main/AlertSound.h"

#include "account/AlertSoundChoice.h"
#include "account/SoundFile.h"
#include "main/WavePlayer.h"

#include <QApplication>

namespace {

std::function<void()> &fallback()
{
    static std::function<void()> beep = [] { QApplication::beep(); };
    return beep;
}

void beepInstead()
{
    fallback()();
}

} // namespace

QString AlertSound::fileName()
{
    return alertSoundTarget();
}

QString AlertSound::playedFile()
{
    WavePlayer *player = wavePlayerIfLoaded();
    return player ? player->playedFile() : QString();
}

bool AlertSound::playerSettled()
{
    WavePlayer *player = wavePlayerIfLoaded();
    return player && player->settled();
}

void AlertSound::setFallback(std::function<void()> replacement)
{
    fallback() = replacement ? std::move(replacement) : [] { QApplication::beep(); };
}

void AlertSound::play()
{
    const QString file = fileName();
    if (!isPlayableSound(file)) {
        if (WavePlayer *player = wavePlayerIfLoaded())
            player->stop(); // the new alert replaces a sound still playing
        beepInstead();
        return;
    }
    WavePlayer *player = loadedWavePlayer();
    if (!player) {
        beepInstead();
        return;
    }
    player->play(file, beepInstead);
}
