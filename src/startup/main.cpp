#include "app/Connectivity.h"
#include "app/PlatformChoice.h"
#include "app/SystemConfiguration.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"
#include "startup/CaretBlink.h"
#include "startup/ClientLocale.h"
#include "startup/CommandLine.h"
#include "startup/ProgramEntry.h"

#include <QApplication>

#include <cstdio>

namespace {
QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
} // namespace

int main(int argc, char *argv[])
{
    const QStringList arguments = argumentsOf(argc, argv);
    // Help and version answer before anything needs a display.
    if (const auto answer = answerCommandLine(arguments)) {
        std::fputs(answer->text.toLocal8Bit().constData(), stdout);
        return answer->exitCode;
    }

    // Decided here rather than in the desktop entry, so a menu and a terminal start behave alike.
    const PlatformChoice platform =
        choosePlatform(QProcessEnvironment::systemEnvironment(), arguments,
                       [](const QString &display) { return xServerReachable(display); });
    if (!platform.platformToSet.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.platformToSet);

    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    QApplication app(argc, argv);
    // Programs started from here (a browser for a link) get the session's own choice again.
    if (!platform.platformToSet.isEmpty())
        qunsetenv("QT_QPA_PLATFORM");
    qCInfo(lcConfiguration).noquote()
        << "Qt platform" << QGuiApplication::platformName() << "-" << platform.reason;
    // Ties the windows to the installed desktop entry (its icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.tipdesk.TipDesk"));
    applyClientLocale();
    limitCaretBlinking();
    QApplication::setQuitOnLastWindowClosed(false); // the tray icon keeps the client alive

    RegisterWebServiceSoap(ServiceSettings::load());
    return runProgramEntry(
        [] { return ConnectivityCheck(registeredServiceSettings().endpoint()); });
}
