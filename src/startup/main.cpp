#include "app/Connectivity.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"
#include "startup/CaretBlink.h"
#include "startup/ClientLocale.h"
#include "startup/ProgramEntry.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    QApplication app(argc, argv);
    // Ties the windows to the installed desktop entry (its icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.tipdesk.TipDesk"));
    applyClientLocale();
    limitCaretBlinking();
    QApplication::setQuitOnLastWindowClosed(false); // the tray icon keeps the client alive

    RegisterWebServiceSoap(ServiceSettings::load());
    return runProgramEntry(
        [] { return ConnectivityCheck(registeredServiceSettings().endpoint()); });
}
