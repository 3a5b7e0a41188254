#include "app/Connectivity.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"
#include "startup/ProgramEntry.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    // The web windows are loaded late, from a module; the engine needs this set before the
    // application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);   // the tray icon keeps the client alive

    RegisterWebServiceSoap(ServiceSettings::load());
    return runProgramEntry([] { return ConnectivityCheck(registeredServiceSettings().endpoint()); });
}
