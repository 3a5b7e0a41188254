#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace server {

// Decodes a form-style query string as an ASP.NET page reads it: "+" is a blank, %XX a byte,
// bytes are UTF-8, and a value may itself hold "=" (only the first one separates).
namespace QueryString {

QHash<QString, QString> decode(const QByteArray &rawQuery);

} // namespace QueryString

} // namespace server
