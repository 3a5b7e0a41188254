#pragma once

#include <QString>

#include <functional>

// The alert sound: "miduseing.wav" in programDir, played without waiting. A new play replaces a
// sound still playing. A file that is missing, not a regular file of a sound's size, not a wave
// file or that the player cannot play gives the system's beep instead, so an alert is never
// silent; the file is checked without ever blocking the GUI thread. The player lives in the sound
// module, loaded on the first play with a playable file.
class AlertSound
{
public:
    static void play();

    // The file play() uses, and what the player was last given (empty before any play reached
    // it) and whether that has loaded or failed by now (tests look).
    static QString fileName();
    static QString playedFile();
    static bool playerSettled();

    // What sounds when the file cannot be played; the system's beep unless replaced (tests count).
    static void setFallback(std::function<void()> fallback);
};
