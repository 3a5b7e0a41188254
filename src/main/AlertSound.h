#pragma once

#include <QString>

class QSoundEffect;

// The alert sound: "miduseing.wav" in programDir, played without waiting. A new play replaces a
// sound still playing. One player serves the whole process.
class AlertSound
{
public:
    static void play();

    // The file play() uses, and the player (tests look at what it was given).
    static QString fileName();
    static QSoundEffect &player();
};
