#include "account/SoundFile.h"

bool isPlayableSound(const QString &path)
{
    QFile file;
    if (openLocalFile(path, maxSoundBytes, file) != LocalFileCheck::Usable)
        return false;
    const QByteArray header = file.read(12);
    return header.size() == 12 && header.startsWith("RIFF") && header.mid(8, 4) == "WAVE";
}
