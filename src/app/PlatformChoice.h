#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

// Which Qt platform the client starts on, decided before the application object exists. In a
// Wayland session where an X server (Xwayland) answers, the client goes through X11: on Wayland it
// could neither place its popups nor learn that its window was minimised. A platform the person
// chose (QT_QPA_PLATFORM, or Qt's own -platform/--platform argument) is always left alone.
struct PlatformChoice
{
    QByteArray platformToSet; // for QT_QPA_PLATFORM; empty leaves the choice to Qt
    QString reason; // why, in a line for the log
};

// `arguments` are the program's command line as given (the program name first);
// `xServerReachable` is asked about DISPLAY only when the decision depends on it.
PlatformChoice choosePlatform(const QProcessEnvironment &environment, const QStringList &arguments,
                              const std::function<bool(const QString &display)> &xServerReachable);

// Whether a local X display (":0", ":1.0", "unix:2") accepts a connection on its socket in
// `socketFolder`, or on the abstract socket of the same name, as libxcb tries them. A remote
// display ("host:10") or any other form counts as unreachable.
bool xServerReachable(const QString &display,
                      const QString &socketFolder = QStringLiteral("/tmp/.X11-unix"));
