#pragma once

#include "http/HttpReply.h"

#include <QByteArray>
#include <QString>

namespace server {

class SqliteDatabase;

// "qzGongGaoXinXi.aspx" (first kind) and "qzGongGaoSiMi.aspx" (second kind): the bulletins a
// user's level sees, newest first, shown only when the query's userdj, username and userpas
// are those of an account.
namespace BulletinPages {

// Who asks, as the query says.
struct Visitor
{
    QString name;
    QString password;
    QString level;
};

Visitor visitorOf(const QByteArray &rawQuery);
HttpReply page(SqliteDatabase &db, int bulletinKind, const Visitor &visitor);
// The answer to a visitor who is not an account of that level.
HttpReply refusal(int bulletinKind);

} // namespace BulletinPages

} // namespace server
