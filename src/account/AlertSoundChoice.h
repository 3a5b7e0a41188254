#pragma once

#include <QString>

// Replacing the alert sound: the chosen wave file becomes "miduseing.wav" in programDir, also over
// a read-only one. The copy is written beside the target and renamed over it only when complete,
// so a failed copy leaves the old sound playing.
enum class SoundChangeOutcome { Replaced, Failed };

QString alertSoundFolder(); // where the sound dialog starts: programDir + "Mid/"
QString alertSoundTarget(); // programDir + "miduseing.wav"

SoundChangeOutcome replaceAlertSound(const QString &chosenFile);
