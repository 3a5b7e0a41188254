#pragma once

#include <QFile>
#include <QString>

// Local files the client reads (the remembered login, the alert sound and its name) as hostile
// input: only a regular file of a sane size is read. A FIFO or device there, whose opening or
// reading can wait for ever, or a file of gigabytes is refused before anything is read.
enum class LocalFileCheck { Usable, NotAFile, TooLarge };

// Whether a symbolic link at the path is followed or refused.
enum class LinkRule { Follow, Refuse };

// Opens `path` for reading into `file` without ever waiting, when it is a regular file of at most
// `maxBytes`.
LocalFileCheck openLocalFile(const QString &path, qint64 maxBytes, QFile &file,
                             LinkRule links = LinkRule::Follow);
