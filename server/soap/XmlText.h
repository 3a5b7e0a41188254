#pragma once

#include <QString>
#include <QStringView>

namespace server {

namespace XmlText {

// Escapes text for element content as .NET's XmlWriter does: &, < and > become entities;
// quotes, CR and LF stay as they are.
void appendEscaped(QString &out, QStringView text);
QString escaped(QStringView text);

} // namespace XmlText

} // namespace server
