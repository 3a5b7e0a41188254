#include "content/WebWindowFactory.h"

#include "service/AppError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace {

const char moduleFile[] = "libtipdesk_web.so";

// Where the module is: TIPDESK_WEB_MODULE names it outright; otherwise beside the program (a build
// tree) or in the installed library folder.
QString modulePath()
{
    const QString named = qEnvironmentVariable("TIPDESK_WEB_MODULE");
    if (!named.isEmpty())
        return named;
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString &candidate : {program.filePath(QString::fromLatin1(moduleFile)),
                                     program.filePath(QStringLiteral("../lib/tipdesk/")
                                                      + QString::fromLatin1(moduleFile))}) {
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return program.filePath(QString::fromLatin1(moduleFile));
}

WebWindowFactory &factory()
{
    static QPluginLoader loader(modulePath());
    auto *loaded = qobject_cast<WebWindowFactory *>(loader.instance());
    if (!loaded)
        throw AppError(QStringLiteral("网页窗口模块无法加载：") + loader.errorString());
    return *loaded;
}

} // namespace

Tmain *buildWebWindow(int position, HostedIn host)
{
    return factory().createWebWindow(position, host);
}
