#pragma once

#include <QString>

// Created once at start-up. Computes programDir, the per-user folder that holds the alert sound
// "miduseing.wav" and the sound library "Mid/", and puts the default sounds there on first start.
class DataModule
{
public:
    DataModule();

    // The folder with a trailing "/"; created if missing.
    static QString computeProgramDir();
    // Copies the built-in sounds into the folder, never overwriting a file the user put there.
    static void installDefaultSounds(const QString &folder);
};
