#pragma once

#include "app/LocalFile.h"

// The alert sound's files as the client reads them. A sound is a short wave file; a file of
// gigabytes, which the player would load whole into memory, is refused before it is read.
constexpr qint64 maxSoundBytes = 4 * 1024 * 1024;

// Whether `path` is a regular file of at most maxSoundBytes and a RIFF file of the WAVE kind,
// the one kind the player plays.
bool isPlayableSound(const QString &path);
