#include "db/DemoSeed.h"

#include "db/Accounts.h"
#include "db/Configuration.h"
#include "db/ContentStore.h"
#include "db/ServerClock.h"
#include "db/SqliteDatabase.h"
#include "http/DemoPages.h"

#include <QDateTime>

#include <algorithm>

namespace server {

namespace DemoSeed {

namespace {

struct DemoAccount
{
    const char16_t *name;
    const char16_t *password;
    int level;
};

// docs/server.md lists these passwords for people trying the demo.
const DemoAccount Accounts[] = {
    {u"demo", u"demo123", 2},  {u"member", u"member123", 1}, {u"guest", u"guest123", 0},
    {u"张三", u"zhang123", 1}, {u"quote", u"it's", 0},
};

const char16_t *const LevelNames[] = {u"普通用户", u"会员", u"VIP"};

const char16_t *const ToolbarCaptions[] = {u"预警管理", u"私募内参", u"私募绝密", u"实时行情",
                                           u"新闻资讯", u"价值评估", u"个股档案", u"大盘资金",
                                           u"研究报告", u"综合报告", u"系统设置"};

QTime designedTime(const char *time)
{
    return QTime::fromString(QLatin1String(time), u"hh:mm:ss");
}

struct DemoAlert
{
    int daysAgo;
    const char *time;
    int level;
    const char16_t *code;
    const char16_t *price;
    const char16_t *action;
    const char16_t *reason;
};

// Oldest first: ids ascend with time, as the operators would have published them. Only today and
// yesterday: the alert window opens with its range on those two days beside the latest 30 alerts,
// so both lists agree until the operators have published more than 30.
const DemoAlert Alerts[] = {
    {1, "09:42:10", 3, u"600036", u"35.20", u"买入", u"银行板块估值修复，股息率具备吸引力"},
    {1, "10:05:31", 1, u"601012", u"22.45", u"持有", u"光伏产业链价格企稳，耐心等待反转"},
    {1, "11:02:37", 2, u"300750", u"192.00", u"持有", u"回踩五日均线，趋势未变"},
    {1, "13:15:44", 2, u"002594", u"238.60", u"买入", u"新能源车销量超预期，放量突破平台"},
    {1, "14:20:02", 3, u"000651", u"38.90", u"卖出", u"短期涨幅较大，获利了结"},
    {1, "14:50:18", 0, u"600900", u"23.10", u"买入", u"水电龙头业绩稳健，防御配置"},
    {0, "09:31:05", 3, u"600519", u"1675.00", u"买入", u"白酒龙头回调到位，主力资金持续流入"},
    {0, "09:48:22", 2, u"300750", u"198.40", u"买入", u"放量突破前高，量价配合良好"},
    {0, "10:12:40", 1, u"601318", u"45.62", u"持有", u"保险板块估值低位，继续持有"},
    {0, "10:36:15", 0, u"000001", u"10.85", u"卖出", u"跌破二十日均线，先行止损"},
    {0, "13:05:58", 3, u"000858", u"142.30", u"买入", u"消费复苏预期升温，低位布局"},
    {0, "14:18:09", 2, u"002594", u"245.80", u"卖出", u"冲高回落，短线减仓锁定利润"},
};

struct DemoLiveItem
{
    int daysAgo;
    const char *time;
    int level;
    const char16_t *type;
    const char16_t *text;
};

const DemoLiveItem LiveItems[] = {
    {2, "10:30:00", 3, u"盘中提示", u"两市成交额较昨日同期放大，市场情绪回暖"},
    {1, "14:45:12", 1, u"仓位建议", u"维持六成仓位，逢低关注消费板块"},
    {0, "09:40:03", 3, u"盘中提示", u"沪指高开，白酒、新能源板块领涨"},
    {0, "10:20:47", 2, u"板块异动", u"半导体板块午前快速拉升，多股涨停"},
    {0, "11:15:30", 1, u"仓位建议", u"建议仓位提升至七成，重点配置业绩确定性品种"},
    {0, "13:40:16", 0, u"个股点评", u"中国平安：估值处于历史低位，适合长线持有"},
};

struct DemoBulletin
{
    int daysAgo;
    const char *time;
    int kind;
    int level;
    const char16_t *title;
    const char16_t *body;
};

const DemoBulletin Bulletins[] = {
    {3, "20:00:00", 1, 3, u"私募周报 第49周",
     u"本周私募整体仓位小幅提升，消费与科技为主要加仓方向。"},
    {1, "19:30:00", 2, 2, u"某百亿私募调研纪要",
     u"重点调研动力电池与储能产业链，关注龙头公司的海外订单。"},
    {0, "08:30:00", 1, 3, u"十二月私募仓位观察",
     u"股票私募平均仓位升至七成以上，市场风险偏好回升。"},
    {0, "08:45:00", 2, 3, u"私募绝密：年末布局方向",
     u"年末重点关注高股息与业绩确定性强的龙头公司。"},
};

// The designed clock time of the latest entry of today, in any table.
int latestTodaySeconds()
{
    int latest = 0;
    const auto consider = [&](int daysAgo, const char *time) {
        if (daysAgo == 0)
            latest = std::max(latest, QTime(0, 0).secsTo(designedTime(time)));
    };
    for (const DemoAlert &alert : Alerts)
        consider(alert.daysAgo, alert.time);
    for (const DemoLiveItem &item : LiveItems)
        consider(item.daysAgo, item.time);
    for (const DemoBulletin &bulletin : Bulletins)
        consider(bulletin.daysAgo, bulletin.time);
    return latest;
}

// Earlier days keep their designed times. Today's do once the day has passed them (and a minute
// more); before that they are squeezed, in the same order, into the time since midnight, so that
// nothing lies in the future and an alert published now sorts above all of them.
QDateTime demoTime(int daysAgo, const char *time)
{
    const QDateTime now = ServerClock::now();
    const QDateTime dayStart(now.date().addDays(-daysAgo), QTime(0, 0));
    const qint64 designed = QTime(0, 0).secsTo(designedTime(time));
    if (daysAgo > 0)
        return dayStart.addSecs(designed);
    const qint64 span = latestTodaySeconds() + 60;
    const qint64 elapsed = dayStart.secsTo(now);
    return dayStart.addSecs(elapsed >= span ? designed : designed * elapsed / span);
}

QString text(const char16_t *utf16)
{
    return QString::fromUtf16(utf16);
}

void fillConfiguration(SqliteDatabase &db, const QString &baseUrl)
{
    const QList<QPair<QString, QString>> values {
        {QStringLiteral("gpsysname"), QStringLiteral("TipDesk 股票预警系统")},
        {QStringLiteral("syszjxx"),
         QStringLiteral(
             "欢迎使用 TipDesk 股票预警系统！预警信息仅供参考，投资有风险，入市需谨慎。")},
        {QStringLiteral("kfqq"), QStringLiteral("800012345")},
        {QStringLiteral("yhqyhyfj"), QStringLiteral("true")},
        {QStringLiteral("ifctzqd"), QStringLiteral("false")},
        {QStringLiteral("hqurl"), baseUrl + QStringLiteral("demo/home.html")},
        {QStringLiteral("khdsxsj"), QStringLiteral("5")},
        {QStringLiteral("sytsxx"),
         QStringLiteral("尊敬的用户：本系统提供的预警与资讯仅供参考，不构成投资建议。"
                        "开通会员或VIP请联系客服QQ 800012345。")},
    };
    for (const auto &[key, value] : values)
        Configuration::setValue(db, key, value);

    for (int entry = 1; entry <= 11; ++entry) {
        Configuration::setValue(db, QStringLiteral("an%1mc").arg(entry),
                                text(ToolbarCaptions[entry - 1]));
        const QString page = DemoPages::toolbarPage(entry);
        Configuration::setValue(db, QStringLiteral("an%1url").arg(entry),
                                page.isEmpty() ? QString() : baseUrl + page);
        Configuration::setValue(db, QStringLiteral("an%1xs").arg(entry), QStringLiteral("0"));
    }
}

} // namespace

void fill(SqliteDatabase &db, const QString &baseUrl)
{
    if (!baseUrl.startsWith(QLatin1String("http")) || !baseUrl.endsWith(QLatin1Char('/')))
        throw ServerError(
            QStringLiteral("--base must be the server's address ending in \"/\", e.g. "
                           "http://127.0.0.1:8080/"));
    const int existing =
        db.scalar(QStringLiteral("SELECT (SELECT count(*) FROM UserTable) + "
                                 "(SELECT count(*) FROM Tuijiangupiao) + "
                                 "(SELECT count(*) FROM spzx) + (SELECT count(*) FROM GongGao)"))
            .toInt();
    if (existing > 0)
        throw ServerError(
            QStringLiteral("%1 already holds accounts or content; seed the demo into a new file")
                .arg(db.path()));

    fillConfiguration(db, baseUrl);
    for (const DemoAccount &account : Accounts)
        Accounts::add(db, text(account.name), text(account.password), account.level);

    for (const DemoAlert &alert : Alerts) {
        ContentStore::publish(db, ContentStore::Content::Alert,
                              {alert.level,
                               demoTime(alert.daysAgo, alert.time),
                               {{QStringLiteral("gupiaodaima"), text(alert.code)},
                                {QStringLiteral("jg"), text(alert.price)},
                                {QStringLiteral("czfs"), text(alert.action)},
                                {QStringLiteral("czly"), text(alert.reason)}},
                               0});
    }
    for (const DemoLiveItem &item : LiveItems) {
        ContentStore::publish(
            db, ContentStore::Content::LiveInfo,
            {item.level,
             demoTime(item.daysAgo, item.time),
             {{QStringLiteral("zxlx"), text(item.type)}, {QStringLiteral("zxnr"), text(item.text)}},
             0});
    }
    for (const DemoBulletin &bulletin : Bulletins) {
        ContentStore::publish(db, ContentStore::Content::Bulletin,
                              {bulletin.level,
                               demoTime(bulletin.daysAgo, bulletin.time),
                               {{QStringLiteral("title"), text(bulletin.title)},
                                {QStringLiteral("body"), text(bulletin.body)}},
                               bulletin.kind});
    }
}

QStringList accountSummary()
{
    QStringList lines;
    for (const DemoAccount &account : Accounts)
        lines.append(QStringLiteral("%1 (level %2, %3)")
                         .arg(text(account.name))
                         .arg(account.level)
                         .arg(text(LevelNames[account.level])));
    return lines;
}

} // namespace DemoSeed

} // namespace server
