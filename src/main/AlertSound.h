#pragma once

#include <QString>

#include <functional>

class QSoundEffect;

// The alert sound: "miduseing.wav" in programDir, played without waiting. A new play replaces a
// sound still playing. A file that is missing or cannot be played gives the system's beep instead,
// so an alert is never silent. One player serves the whole process.
class AlertSound
{
public:
    static void play();

    // The file play() uses, and the player (tests look at what it was given).
    static QString fileName();
    static QSoundEffect &player();

    // What sounds when the file cannot be played; the system's beep unless replaced (tests count).
    static void setFallback(std::function<void()> fallback);
};
