#include "app/Connectivity.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"
#include "startup/ClientLocale.h"
#include "startup/CommandLine.h"
#include "startup/ProgramEntry.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Help and version answer before anything needs a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const auto answer = answerCommandLine(arguments)) {
        std::fputs(answer->text.toLocal8Bit().constData(), stdout);
        return answer->exitCode;
    }

    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    QApplication app(argc, argv);
    // Ties the windows to the installed desktop entry (its icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.tipdesk.TipDesk"));
    applyClientLocale();
    QApplication::setQuitOnLastWindowClosed(false); // the tray icon keeps the client alive

    RegisterWebServiceSoap(ServiceSettings::load());
    return runProgramEntry(
        [] { return ConnectivityCheck(registeredServiceSettings().endpoint()); });
}
