#pragma once

#include "http/HttpReply.h"

#include <QByteArray>

namespace server {

class SqliteDatabase;

// "qzGongGaoXinXi.aspx" (first kind) and "qzGongGaoSiMi.aspx" (second kind): the bulletins a
// user's level sees, newest first, shown only when the query's userdj, username and userpas
// are those of an account.
namespace BulletinPages {

HttpReply page(SqliteDatabase &db, int bulletinKind, const QByteArray &rawQuery);

} // namespace BulletinPages

} // namespace server
