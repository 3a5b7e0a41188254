#pragma once

#include <QString>

// Replacing the alert sound: the chosen wave file becomes "miduseing.wav" in programDir, also over
// a read-only one. The copy is written beside the target and renamed over it only when complete,
// so a failed copy leaves the old sound playing. A file larger than a sound (SoundFile.h) is
// refused.
enum class SoundChangeOutcome { Replaced, Failed, TooLarge };

QString alertSoundFolder(); // where the sound dialog starts: programDir + "Mid/"
QString alertSoundTarget(); // programDir + "miduseing.wav"

SoundChangeOutcome replaceAlertSound(const QString &chosenFile);

// The name of the sound in use: the chosen file's name since it replaced the sound; empty while
// it is the sound the program came with ("miduseing.wav" when it is neither, e.g. replaced by
// hand).
QString alertSoundName();
