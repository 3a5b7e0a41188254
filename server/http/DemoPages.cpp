#include "http/DemoPages.h"

#include "http/HtmlPage.h"

#include <QFile>

namespace server {

namespace DemoPages {

namespace {

QByteArray contentTypeOf(const QString &path)
{
    if (path.endsWith(QLatin1String(".css")))
        return QByteArrayLiteral("text/css; charset=utf-8");
    return QByteArrayLiteral("text/html; charset=utf-8");
}

HttpReply indexPage()
{
    return HtmlPage::reply(
        200, QStringLiteral("TipDesk reference operator server"),
        QStringLiteral(
            "<h1>TipDesk reference operator server</h1>\n<ul>\n"
            "<li><a href=\"qzWebService.asmx\">qzWebService.asmx</a> (SOAP service "
            "WebServiceSoap; <a href=\"qzWebService.asmx?wsdl\">WSDL</a>)</li>\n"
            "<li><a href=\"qzIP.aspx\">qzIP.aspx</a> (your address as this server sees it)</li>\n"
            "<li>qzGongGaoXinXi.aspx, qzGongGaoSiMi.aspx (bulletins; need userdj, username, "
            "userpas)</li>\n"
            "<li><a href=\"demo/home.html\">demo pages</a></li>\n</ul>\n"));
}

} // namespace

QString toolbarPage(int entry)
{
    switch (entry) {
    case 4:
        return QStringLiteral("demo/quotes.html");
    case 5:
        return QStringLiteral("demo/news.html");
    case 6:
        return QStringLiteral("demo/valuation.html");
    case 7:
        return QStringLiteral("demo/stockfile.html");
    case 8:
        return QStringLiteral("demo/funds.html");
    case 9:
        return QStringLiteral("demo/research.html");
    case 10:
        return QStringLiteral("demo/summary.html");
    default:
        return {};
    }
}

std::optional<HttpReply> page(const QString &path)
{
    if (path == u"/")
        return indexPage();
    if (!path.startsWith(QLatin1String("/demo/")) || path.contains(QLatin1String("..")))
        return std::nullopt;
    QFile file(QLatin1Char(':') + path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return HttpReply {200, contentTypeOf(path), file.readAll()};
}

} // namespace DemoPages

} // namespace server
