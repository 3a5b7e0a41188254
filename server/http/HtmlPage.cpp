#include "http/HtmlPage.h"

namespace server {

namespace HtmlPage {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

HttpReply reply(int status, const QString &title, const QString &bodyHtml)
{
    const QString page =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta "
                       "charset=\"utf-8\">\n<title>%1</title>\n"
                       "<style>body{font-family:sans-serif;margin:16px;color:#222}h1{font-size:"
                       "20px;color:#b22}"
                       "h2{font-size:16px;margin-bottom:2px}.time{color:#888;font-size:12px}"
                       ".item{border-bottom:1px solid #ddd;padding:8px "
                       "0}</style>\n</head>\n<body>\n%2</body>\n</html>\n")
            .arg(escaped(title), bodyHtml);
    return {status, QByteArrayLiteral("text/html; charset=utf-8"), page.toUtf8()};
}

} // namespace HtmlPage

} // namespace server
