#include "ui/ExternalBrowser.h"

#include "ui/MessageBoxes.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// A browser is there when the desktop has a handler for web addresses, the person named one in
// BROWSER, or one of the usual browser programs is on the PATH.
bool systemHasBrowser()
{
    if (!qEnvironmentVariableIsEmpty("BROWSER"))
        return true;
    for (const char *program : {"x-www-browser", "firefox", "firefox-esr", "chromium",
                                "google-chrome", "epiphany-browser", "konqueror", "falkon",
                                "microsoft-edge", "brave-browser", "opera", "www-browser"}) {
        if (!QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
            return true;
    }
    const QString mime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (mime.isEmpty())
        return false;
    QProcess query;
    query.start(mime,
                {QStringLiteral("query"), QStringLiteral("default"),
                 QStringLiteral("x-scheme-handler/https")});
    return query.waitForFinished(2000) && !query.readAllStandardOutput().trimmed().isEmpty();
}

BrowserProbe &browserProbe()
{
    static BrowserProbe probe;
    return probe;
}

} // namespace

void setBrowserProbe(BrowserProbe probe)
{
    browserProbe() = std::move(probe);
}

void openInBrowser(QWidget *parent, const QUrl &url)
{
    const bool browser = browserProbe() ? browserProbe()() : systemHasBrowser();
    if (browser && QDesktopServices::openUrl(url))
        return;
    showMessage(
        parent,
        QStringLiteral("没有找到网页浏览器，无法打开这个网页：\n%1\n\n请先安装一个网页浏览器"
                       "（例如 Firefox 或 Chromium），或在其它设备的浏览器中访问这个地址。")
            .arg(url.toString()),
        QStringLiteral("提示"), BoxIcon::Information);
}
