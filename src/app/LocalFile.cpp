#include "app/LocalFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

LocalFileCheck openLocalFile(const QString &path, qint64 maxBytes, QFile &file, LinkRule links)
{
    // Without O_NONBLOCK the open of a FIFO waits for a writer; the check below then refuses it.
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    if (links == LinkRule::Refuse)
        flags |= O_NOFOLLOW;
    const int descriptor = ::open(QFile::encodeName(path).constData(), flags);
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
