// Not a test: shows the main window after a login on a running server, for screenshots and for
// looking at the window by hand.
//   main_window_showcase http://127.0.0.1:PORT/ NAME PASSWORD
#include "ClientSession.h"

#include "app/UnitGlouble.h"
#include "main/UnitMain.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 4) {
        std::fprintf(stderr, "usage: main_window_showcase BASE_URL NAME PASSWORD\n");
        return 2;
    }
    try {
        ClientSession::logIn(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                             QString::fromLocal8Bit(argv[3]));
        ClientSession::loadConfiguration();
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "login failed: %s\n", failure.what());
        return 1;
    }
    TFrmMain mainWindow;
    mainWindow.show();
    return QApplication::exec();
}
