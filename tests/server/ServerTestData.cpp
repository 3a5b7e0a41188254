#include "ServerTestData.h"

#include <QTest>

namespace ServerTestData {

QString timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

namespace {

qint64 publishedId(TestServer &server, const QString &command, const QStringList &arguments)
{
    const QString output = server.command(command, arguments);
    if (!server.lastCommandOk()) {
        QTest::qFail(qPrintable(command + QStringLiteral(" failed: ") + server.lastCommandError()),
                     __FILE__, __LINE__);
        return 0;
    }
    return output.toLongLong();
}

} // namespace

qint64 publishAlert(TestServer &server, int level, const QDateTime &time, const QString &code)
{
    return publishedId(server, QStringLiteral("publish-alert"),
                       {QStringLiteral("--level"), QString::number(level), QStringLiteral("--code"),
                        code, QStringLiteral("--price"), QStringLiteral("12.34"),
                        QStringLiteral("--action"), QStringLiteral("买入"),
                        QStringLiteral("--reason"), QStringLiteral("放量突破"),
                        QStringLiteral("--time"), timeText(time)});
}

qint64 publishInfo(TestServer &server, int level, const QDateTime &time, const QString &text)
{
    return publishedId(server, QStringLiteral("publish-info"),
                       {QStringLiteral("--level"), QString::number(level), QStringLiteral("--type"),
                        QStringLiteral("提示"), QStringLiteral("--text"), text,
                        QStringLiteral("--time"), timeText(time)});
}

} // namespace ServerTestData
