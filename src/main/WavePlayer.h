#pragma once

#include <QString>
#include <QtPlugin>

#include <functional>

// What the sound module offers: one player of wave files for the process. The module links Qt
// Multimedia and its codec chain; the program loads it on the first sound only, so that nothing of
// it is loaded or relocated while the person logs in.
class WavePlayer
{
public:
    virtual ~WavePlayer() = default;

    // Plays the wave file without waiting; a new play replaces a sound still playing. The file is
    // read afresh each time (it may have been replaced). `unplayable` runs on the GUI thread when
    // the player reports an error, or has not loaded the file within a second.
    virtual void play(const QString &fileName, std::function<void()> unplayable) = 0;
    virtual void stop() = 0;

    // The file of the last play (tests look), and whether it has loaded or failed by now.
    virtual QString playedFile() const = 0;
    virtual bool settled() const = 0;
};

#define WavePlayer_iid "org.tipdesk.WavePlayer/1"
Q_DECLARE_INTERFACE(WavePlayer, WavePlayer_iid)

// The module's player, loaded on the first call; none when the module cannot be loaded.
WavePlayer *loadedWavePlayer();
// The player if the module has been loaded, without loading it.
WavePlayer *wavePlayerIfLoaded();
