#include "ClientSession.h"

#include "ServiceTarget.h"
#include "TestServer.h"

#include "app/LoginRecord.h"
#include "app/SystemConfiguration.h"
#include "app/UnitGlouble.h"
#include "service/AppError.h"

namespace ClientSession {

void loadConfiguration()
{
    const SystemConfiguration::Load load = SystemConfiguration::load();
    if (load.failure != SystemConfiguration::Load::Failure::None)
        throw AppError(QStringLiteral("configuration load failed: ") + load.cause);
}

void logIn(TestServer &server, const QString &name, const QString &password)
{
    logIn(server.baseUrl(), name, password);
}

void logIn(const QString &baseUrl, const QString &name, const QString &password)
{
    pointClientAt(baseUrl);
    LoginRecord::loadAccountRecord(name, password);
    LoginRecord::writeLoginRow();
    loginStamp = LoginRecord::currentLoginStamp();
    loadConfiguration();
    // The demo seed's texts and interval, so that tests on a server seeded otherwise see the same.
    gpsysname = QStringLiteral("TipDesk 股票预警系统");
    syszjxx =
        QStringLiteral("欢迎使用 TipDesk 股票预警系统！预警信息仅供参考，投资有风险，入市需谨慎。");
    khdsxsj = 5;
}

QStringList loggedInUserIds(TestServer &server)
{
    QStringList ids;
    const QString rows = server.command(QStringLiteral("logins"));
    for (const QString &line : rows.split(u'\n', Qt::SkipEmptyParts))
        ids.append(line.section(u'\t', 0, 0).trimmed());
    return ids;
}

} // namespace ClientSession
