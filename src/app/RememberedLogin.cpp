#include "app/RememberedLogin.h"

#include "app/LocalFile.h"
#include "service/AppError.h"
#include "service/Conversions.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace RememberedLogin {
namespace {
// Three short lines; anything bigger is not this file.
constexpr qint64 largestSensibleFile = 4 * 1024;

// The bytes of the file at `path` when it is a regular file of at most `limit` bytes. A link is
// not followed, so a hostile link can neither feed the client another file nor hang it.
std::optional<QByteArray> regularFileBytes(const QString &path, qint64 limit)
{
    QFile file;
    if (openLocalFile(path, limit, file, LinkRule::Refuse) != LocalFileCheck::Usable)
        return std::nullopt;
    const QByteArray bytes = file.read(limit + 1); // one more shows a file that grew meanwhile
    if (bytes.size() > limit || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}
} // namespace

QString filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/gpxxjl.qzd");
}

std::optional<Credentials> read()
{
    const auto bytes = regularFileBytes(filePath(), largestSensibleFile);
    if (!bytes)
        return std::nullopt;
    QStringDecoder gbk("GBK");
    const QString text = gbk(*bytes);
    if (gbk.hasError())
        return std::nullopt;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (lines.size() < 3)
        return std::nullopt;
    return Credentials {trimmedText(lines.at(0)), trimmedText(lines.at(2))};
}

void save(const QString &name, const QString &password)
{
    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk(trimmedText(name) + QStringLiteral("\r\n\\\r\n")
                                 + trimmedText(password) + QStringLiteral("\r\n"));
    if (gbk.hasError())
        throw AppError(QStringLiteral("用户名或密码含有无法保存的字符，未能记住登录信息"));

    // Written beside under a fresh name (created exclusively, owner-only before a byte of the
    // password is in it), then renamed over the old name: whatever was there, a read-only file
    // or a link, is replaced and never followed, and no reader ever sees half a file.
    const QString path = filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    QString failure;
    if (!file.open() || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)
        || file.write(bytes) != bytes.size() || !file.flush())
        failure = file.errorString();
    else if (std::rename(QFile::encodeName(file.fileName()).constData(),
                         QFile::encodeName(path).constData())
             != 0)
        failure = QString::fromLocal8Bit(std::strerror(errno));
    if (!failure.isEmpty())
        throw AppError(QStringLiteral("无法保存登录信息到 %1：%2").arg(path, failure));
    file.setAutoRemove(false); // it is the remembered file now
}

void forget()
{
    // Removes the name itself: a link goes, its target stays as it was.
    const QString path = filePath();
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        throw AppError(QStringLiteral("无法删除记住的登录信息文件 %1").arg(path));
}

} // namespace RememberedLogin
