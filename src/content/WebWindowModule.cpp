#include "content/WebWindowFactory.h"

#include "app/PrivateModule.h"
#include "service/AppError.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QPluginLoader>

QT_BEGIN_NAMESPACE
// Qt's global share context (what Qt::AA_ShareOpenGLContexts makes at start-up).
Q_GUI_EXPORT QOpenGLContext *qt_gl_global_share_context();
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

namespace {

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
    return factory().createWebWindow(position, host);
}
