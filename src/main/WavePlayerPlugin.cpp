// The sound module: the process's one QSoundEffect, watched for a file it cannot play.
#include "main/WavePlayer.h"

#include <QObject>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace {

// A sound that has not loaded by then is taken as one that never will: the player stays "loading"
// for good on some broken files instead of reporting an error.
constexpr int loadLimitMs = 1000;

struct Player
{
    QSoundEffect effect;
    QTimer loadWatch;
    std::function<void()> unplayable;

    Player()
    {
        loadWatch.setSingleShot(true);
        loadWatch.setInterval(loadLimitMs);
        QObject::connect(&loadWatch, &QTimer::timeout, &effect, [this] {
            if (effect.status() != QSoundEffect::Ready)
                reportUnplayable();
        });
        QObject::connect(&effect, &QSoundEffect::statusChanged, &effect, [this] {
            if (effect.status() == QSoundEffect::Ready) {
                loadWatch.stop();
            } else if (effect.status() == QSoundEffect::Error && loadWatch.isActive()) {
                loadWatch.stop();
                reportUnplayable();
            }
        });
    }

    void reportUnplayable()
    {
        if (unplayable)
            unplayable();
    }
};

} // namespace

class WavePlayerPlugin final : public QObject, public WavePlayer
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID WavePlayer_iid)
    Q_INTERFACES(WavePlayer)

public:
    void play(const QString &fileName, std::function<void()> unplayable) override
    {
        stop();
        m_player.unplayable = std::move(unplayable);
        m_player.effect.setSource(QUrl::fromLocalFile(fileName));
        if (m_player.effect.status() != QSoundEffect::Ready)
            m_player.loadWatch.start();
        m_player.effect.play();
    }

    void stop() override
    {
        m_player.effect.stop();
        m_player.loadWatch.stop();
        // Clearing the source makes the next play read the file again.
        m_player.effect.setSource(QUrl());
    }

    QString playedFile() const override { return m_player.effect.source().toLocalFile(); }

    bool settled() const override
    {
        const QSoundEffect::Status status = m_player.effect.status();
        return status == QSoundEffect::Ready || status == QSoundEffect::Error;
    }

private:
    // Never freed: Qt frees the module's instance after the audio system has gone at exit, too
    // late for an effect to go quietly.
    Player &m_player = *new Player;
};

#include "WavePlayerPlugin.moc"
