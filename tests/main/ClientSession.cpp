#include "ClientSession.h"

#include "TestServer.h"

#include "app/UnitGlouble.h"
#include "service/Conversions.h"
#include "service/ResultDocument.h"
#include "service/ServiceSettings.h"
#include "service/Statements.h"
#include "service/WebService.h"

#include <QTest>

namespace ClientSession {

void pointClientAt(const QString &baseUrl)
{
    ServiceSettings settings;
    settings.baseAddress = baseUrl;
    settings.serviceNamespace = QStringLiteral("http://tempuri.org/");
    settings.callTimeoutMs = 5000;
    RegisterWebServiceSoap(settings);
}

void loadToolbar()
{
    const ResultDocument toolbar =
        ResultDocument::parse(NewServiceProxy()->hqsametable(Statements::toolbarRecord()));
    for (int n = 1; n <= toolbarEntryCount; ++n) {
        anmc(n) = toolbar.value(0, QStringLiteral("an%1mc").arg(n));
        anurl(n) = toolbar.value(0, QStringLiteral("an%1url").arg(n));
        anxs(n) = toolbar.value(0, QStringLiteral("an%1xs").arg(n));
    }
}

void logIn(TestServer &server, const QString &name, const QString &password)
{
    logIn(server.baseUrl(), name, password);
}

void loadConfiguration()
{
    const ResultDocument record = ResultDocument::parse(NewServiceProxy()->hqSys_pz());
    gpsysname = record.value(0, u"gpsysname");
    syszjxx = record.value(0, u"syszjxx");
    kfqq = record.value(0, u"kfqq");
    yhqyhyfj = toBoolean(record.value(0, u"yhqyhyfj"));
    ifctzqd = toBoolean(record.value(0, u"ifctzqd"));
    hqurl = record.value(0, u"hqurl");
    khdsxsj = toInteger(record.value(0, u"khdsxsj"));
}

void logIn(const QString &baseUrl, const QString &name, const QString &password)
{
    pointClientAt(baseUrl);
    const ResultDocument record =
        ResultDocument::parse(NewServiceProxy()->hqdlyhxx(name, password));
    userid = record.value(0, u"id");
    username = name;
    userpas = password;
    UserDJ = record.value(0, u"UserDJ");
    NewServiceProxy()->zhixing(
        Statements::insertLoginRow(userid, name, password, QStringLiteral("127.0.0.1")));
    loginStamp = NewServiceProxy()->hqdlsj(userid);
    gpsysname = QStringLiteral("TipDesk 股票预警系统");
    syszjxx =
        QStringLiteral("欢迎使用 TipDesk 股票预警系统！预警信息仅供参考，投资有风险，入市需谨慎。");
    khdsxsj = 5;
    loadToolbar();
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
