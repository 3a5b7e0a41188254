#include "http/BulletinPages.h"

#include "db/Accounts.h"
#include "db/Configuration.h"
#include "db/SqliteDatabase.h"
#include "http/HtmlPage.h"
#include "http/QueryString.h"

namespace server {

namespace BulletinPages {

namespace {

QString kindTitle(int bulletinKind)
{
    return bulletinKind == 1 ? QStringLiteral("私募内参") : QStringLiteral("私募绝密");
}

QString bulletinList(const QList<SqlRow> &rows)
{
    if (rows.isEmpty())
        return QStringLiteral("<p>暂无公告。</p>\n");
    QString html;
    for (const SqlRow &row : rows) {
        html += QStringLiteral(
                    "<div class=\"item\"><h2>%1</h2><div class=\"time\">%2</div><p>%3</p></div>\n")
                    .arg(HtmlPage::escaped(row.at(0).toString()),
                         HtmlPage::escaped(row.at(1).toString()),
                         HtmlPage::escaped(row.at(2).toString())
                             .replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    }
    return html;
}

} // namespace

Visitor visitorOf(const QByteArray &rawQuery)
{
    const QHash<QString, QString> query = QueryString::decode(rawQuery);
    return {query.value(QStringLiteral("username")), query.value(QStringLiteral("userpas")),
            query.value(QStringLiteral("userdj"))};
}

HttpReply refusal(int bulletinKind)
{
    return HtmlPage::reply(
        403, kindTitle(bulletinKind),
        QStringLiteral("<h1>%1</h1>\n<p>用户验证失败：请从客户端登录后查看。</p>\n")
            .arg(kindTitle(bulletinKind)));
}

HttpReply page(SqliteDatabase &db, int bulletinKind, const Visitor &visitor)
{
    const QList<SqlRow> account = Accounts::record(db, visitor.name, visitor.password);
    bool levelOk = false;
    const int level = visitor.level.trimmed().toInt(&levelOk);
    if (account.isEmpty() || !levelOk || account.first().at(3).toInt() != level)
        return refusal(bulletinKind);

    const QList<SqlRow> rows = Configuration::levelFilteringOn(db)
        ? db.query(QStringLiteral("SELECT title, nowtime, body FROM GongGao WHERE kind = ? AND "
                                  "(XinXiDJ = ? OR XinXiDJ = 3) ORDER BY id DESC"),
                   {bulletinKind, level})
        : db.query(QStringLiteral(
                       "SELECT title, nowtime, body FROM GongGao WHERE kind = ? ORDER BY id DESC"),
                   {bulletinKind});
    return HtmlPage::reply(200, kindTitle(bulletinKind),
                           QStringLiteral("<h1>%1</h1>\n").arg(kindTitle(bulletinKind))
                               + bulletinList(rows));
}

} // namespace BulletinPages

} // namespace server
