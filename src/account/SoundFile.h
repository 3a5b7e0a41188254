#pragma once

#include <QFile>
#include <QString>

// The alert sound's files as the client reads them. A sound is a short wave file; anything else
// on disk (a FIFO or device, whose opening or reading can wait for ever, or a file of gigabytes
// that the player would load whole into memory) is refused before it is read.
constexpr qint64 maxSoundBytes = 4 * 1024 * 1024;

enum class LocalFileCheck { Usable, NotAFile, TooLarge };

// Opens `path` for reading without ever waiting: only a regular file (symbolic links followed)
// of at most `maxBytes` is opened into `file`.
LocalFileCheck openLocalFile(const QString &path, qint64 maxBytes, QFile &file);

// Whether `path` is a regular file of at most maxSoundBytes and a RIFF file of the WAVE kind,
// the one kind the player plays.
bool isPlayableSound(const QString &path);
