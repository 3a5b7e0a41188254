#include "main/AlertSound.h"

#include "app/UnitGlouble.h"

#include <QApplication>
#include <QFile>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace {

// A sound that has not loaded by then is taken as one that never will: the player stays "loading"
// for good on some broken files instead of reporting an error.
constexpr int loadLimitMs = 1000;

std::function<void()> &fallback()
{
    static std::function<void()> beep = [] { QApplication::beep(); };
    return beep;
}

// The player and the watch on its loading, made once for the process.
struct Player
{
    QSoundEffect effect;
    QTimer loadWatch;

    Player()
    {
        loadWatch.setSingleShot(true);
        loadWatch.setInterval(loadLimitMs);
        QObject::connect(&loadWatch, &QTimer::timeout, &effect, [this] {
            if (effect.status() != QSoundEffect::Ready)
                fallback()();
        });
        QObject::connect(&effect, &QSoundEffect::statusChanged, &effect, [this] {
            if (effect.status() == QSoundEffect::Ready) {
                loadWatch.stop();
            } else if (effect.status() == QSoundEffect::Error && loadWatch.isActive()) {
                loadWatch.stop();
                fallback()();
            }
        });
    }
};

Player &thePlayer()
{
    static Player *player = new Player; // lives until the process ends
    return *player;
}

// A RIFF file of the WAVE kind; anything else cannot be played.
bool looksLikeWave(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(12);
    return header.size() == 12 && header.startsWith("RIFF") && header.mid(8, 4) == "WAVE";
}

} // namespace

QString AlertSound::fileName()
{
    return programDir + QStringLiteral("miduseing.wav");
}

QSoundEffect &AlertSound::player()
{
    return thePlayer().effect;
}

void AlertSound::setFallback(std::function<void()> replacement)
{
    fallback() = replacement ? std::move(replacement) : [] { QApplication::beep(); };
}

void AlertSound::play()
{
    Player &player = thePlayer();
    player.effect.stop();
    player.loadWatch.stop();
    // Clearing the source first makes the effect read the file again: the settings window may
    // have replaced it since the last play.
    player.effect.setSource(QUrl());
    const QString file = fileName();
    if (!looksLikeWave(file)) {
        fallback()();
        return;
    }
    player.effect.setSource(QUrl::fromLocalFile(file));
    if (player.effect.status() != QSoundEffect::Ready)
        player.loadWatch.start();
    player.effect.play();
}
