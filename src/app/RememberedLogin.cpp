#include "app/RememberedLogin.h"

#include "service/AppError.h"
#include "service/Conversions.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

namespace RememberedLogin {
namespace {
constexpr qint64 largestSensibleFile = 64 * 1024;

void removeExisting(const QString &path)
{
    if (!QFile::exists(path))
        return;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (!QFile::remove(path))
        throw AppError(QStringLiteral("无法删除记住的登录信息文件 %1").arg(path));
}
} // namespace

QString filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/gpxxjl.qzd");
}

std::optional<Credentials> read()
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestSensibleFile)
        return std::nullopt;
    QStringDecoder gbk("GBK");
    const QString text = gbk(file.readAll());
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
    const QString path = filePath();
    removeExisting(path);
    QDir().mkpath(QFileInfo(path).absolutePath());

    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk(trimmedText(name) + QStringLiteral("\r\n\\\r\n")
                                 + trimmedText(password) + QStringLiteral("\r\n"));
    if (gbk.hasError())
        throw AppError(QStringLiteral("用户名或密码含有无法保存的字符，未能记住登录信息"));

    QSaveFile file(path);
    // Owner-only before a single byte of the password is written.
    if (!file.open(QIODevice::WriteOnly)
        || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)
        || file.write(bytes) != bytes.size() || !file.commit())
        throw AppError(QStringLiteral("无法保存登录信息到 %1：%2").arg(path, file.errorString()));
}

void forget()
{
    removeExisting(filePath());
}

} // namespace RememberedLogin
