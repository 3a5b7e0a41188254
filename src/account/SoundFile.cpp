#include "account/SoundFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

LocalFileCheck openLocalFile(const QString &path, qint64 maxBytes, QFile &file)
{
    // Without O_NONBLOCK the open of a FIFO waits for a writer; the check below then refuses it.
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return LocalFileCheck::NotAFile;
    struct stat status
    {
    };
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return LocalFileCheck::NotAFile;
    }
    if (status.st_size > maxBytes) {
        ::close(descriptor);
        return LocalFileCheck::TooLarge;
    }
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return LocalFileCheck::NotAFile;
    }
    return LocalFileCheck::Usable;
}

bool isPlayableSound(const QString &path)
{
    QFile file;
    if (openLocalFile(path, maxSoundBytes, file) != LocalFileCheck::Usable)
        return false;
    const QByteArray header = file.read(12);
    return header.size() == 12 && header.startsWith("RIFF") && header.mid(8, 4) == "WAVE";
}
