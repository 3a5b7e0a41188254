#pragma once

#include "http/HttpReply.h"

#include <QString>

namespace server {

// The server's small generated HTML pages, UTF-8, with a common head and style.
namespace HtmlPage {

QString escaped(const QString &text);
HttpReply reply(int status, const QString &title, const QString &bodyHtml);

} // namespace HtmlPage

} // namespace server
