#pragma once

#include <QString>

#include <optional>

// The remembered-login file "gpxxjl.qzd" in the config folder: three GBK lines ended by CR LF —
// user name, a single "\", password. It holds a password, so it is created readable by its owner
// only, and its contents are never logged.
namespace RememberedLogin {

struct Credentials
{
    QString name;
    QString password;
};

QString filePath();

// The remembered name and password, trimmed; nothing when there is no file, or when it is
// unreadable, not a regular file (a link, FIFO, device or folder), larger than a few KiB, shorter
// than three lines or not valid GBK (such a file is ignored, not fatal). Never waits on the file.
std::optional<Credentials> read();

// Replaces the file with one holding these credentials, even when the old one is read-only; a link
// in its place is replaced itself, its target left alone. Raises AppError when it cannot be
// written.
void save(const QString &name, const QString &password);

// Removes the file if present, even when read-only; a link is removed, not its target. Raises
// AppError when it cannot be removed.
void forget();

} // namespace RememberedLogin
