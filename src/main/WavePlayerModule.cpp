#include "main/WavePlayer.h"

#include "app/PrivateModule.h"

#include <QPluginLoader>

namespace {
WavePlayer *&player()
{
    static WavePlayer *loaded = nullptr;
    return loaded;
}
} // namespace

WavePlayer *loadedWavePlayer()
{
    static bool tried = false;
    if (!tried) {
        tried = true;
        // Never unloaded: the player lives until the process ends.
        static QPluginLoader loader(
            privateModulePath("libtipdesk_sound.so", "TIPDESK_SOUND_MODULE"));
        player() = qobject_cast<WavePlayer *>(loader.instance());
    }
    return player();
}

WavePlayer *wavePlayerIfLoaded()
{
    return player();
}
