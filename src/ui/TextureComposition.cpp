#include "ui/TextureComposition.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QWidget>
#include <QWindow>
// How a top-level window composes is Qt's private API; taken from its headers, so that a change in
// Qt fails the build.
#include <QtWidgets/private/qwidget_p.h>
#include <qpa/qplatformbackingstore.h>

namespace {

// Whether an OpenGL context of the format the window asks for can draw into it. A driver that
// insists on a context matching the visual the window was created with refuses here.
bool openGlDrawsInto(QWindow *window)
{
    QOpenGLContext context;
    context.setFormat(window->requestedFormat());
    context.setShareContext(QOpenGLContext::globalShareContext());
    if (!context.create() || !context.makeCurrent(window))
        return false;
    context.doneCurrent();
    return true;
}

} // namespace

void composeTextureChildrenInPlace(QWidget *topLevel)
{
    QWindow *window = topLevel->windowHandle();
    QWidgetPrivate *widget = QWidgetPrivate::get(topLevel);
    if (QGuiApplication::platformName() != u"xcb" || !window || !window->handle()
        || window->surfaceType() != QSurface::RasterSurface || widget->usesRhiFlush
        || !topLevel->backingStore())
        return;
    window->setSurfaceType(QSurface::OpenGLSurface);
    if (!openGlDrawsInto(window)) {
        window->setSurfaceType(QSurface::RasterSurface);
        return;
    }
    widget->usesRhiFlush = true;
    topLevel->backingStore()->handle()->setRhiConfig(
        QPlatformBackingStoreRhiConfig(QPlatformBackingStoreRhiConfig::OpenGL));
}
