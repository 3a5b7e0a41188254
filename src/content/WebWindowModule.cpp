#include "content/WebWindowFactory.h"

#include "app/PrivateModule.h"
#include "service/AppError.h"
#include "ui/TextureComposition.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QPluginLoader>
// Qt's global share context (what Qt::AA_ShareOpenGLContexts makes at start-up), from Qt's own
// private header so that a change in Qt fails the build instead of the program.
#include <QtGui/private/qopenglcontext_p.h>

#include <unistd.h>

Q_LOGGING_CATEGORY(lcWebWindows, "tipdesk.web", QtWarningMsg)

namespace {

// Started as root, the engine refuses to run its sandbox and ends the whole program at the first
// page. A client started as root therefore runs the engine without it (the variable is read
// when the engine starts, after this) and says so.
void allowEngineAsRoot()
{
    if (::geteuid() != 0)
        return;
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qCWarning(lcWebWindows,
              "running as root: web pages are shown without the web engine's sandbox");
}

// The engine draws through OpenGL contexts that share with one global context. Asked for at
// start-up (Qt::AA_ShareOpenGLContexts), Qt makes it in every run, which under X costs about
// 60 MiB and 50 ms before the login window; made here, only a run that opens a web window pays.
// As Qt does, the context is installed even where it cannot be created (no OpenGL): the engine
// asks it for its format and then draws without it.
void prepareGlobalShareContext()
{
    if (qt_gl_global_share_context())
        return;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
}

QPluginLoader &loadedModule()
{
    allowEngineAsRoot();
    prepareGlobalShareContext();
    static QPluginLoader loader(privateModulePath("libtipdesk_web.so", "TIPDESK_WEB_MODULE"));
    loader.load();
    return loader;
}

WebWindowFactory &factory()
{
    static QPluginLoader &loader = loadedModule();
    auto *loaded = qobject_cast<WebWindowFactory *>(loader.instance());
    if (!loaded)
        throw AppError(QStringLiteral("网页窗口模块无法加载：") + loader.errorString());
    return *loaded;
}

} // namespace

Tmain *buildWebWindow(int position, HostedIn host)
{
    WebWindowFactory &module = factory();
    // With the engine's share context made, the main window starts composing the view in its
    // native window as it is.
    composeTextureChildrenInPlace(host.panel->window());
    return module.createWebWindow(position, host);
}
