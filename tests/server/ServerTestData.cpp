#include "ServerTestData.h"

#include <QTest>

namespace ServerTestData {

QString timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

namespace {

// A failing command has already failed the test (see TestServer::command()).
qint64 publishedId(TestServer &server, const QString &command, const QStringList &arguments)
{
    return server.command(command, arguments).toLongLong();
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
