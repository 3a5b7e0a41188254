#include "app/Connectivity.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"
#include "startup/ProgramEntry.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    QApplication app(argc, argv);
    // Every text of the client is Chinese; dates and calendars read so whatever the system's locale.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QApplication::setQuitOnLastWindowClosed(false);   // the tray icon keeps the client alive

    RegisterWebServiceSoap(ServiceSettings::load());
    return runProgramEntry([] { return ConnectivityCheck(registeredServiceSettings().endpoint()); });
}
