#include "app/Connectivity.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"
#include "startup/ClientLocale.h"
#include "startup/ProgramEntry.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    QApplication app(argc, argv);
    applyClientLocale();
    QApplication::setQuitOnLastWindowClosed(false);   // the tray icon keeps the client alive

    RegisterWebServiceSoap(ServiceSettings::load());
    return runProgramEntry([] { return ConnectivityCheck(registeredServiceSettings().endpoint()); });
}
