// Prints what the connectivity check answers for a server address, so that a test can ask it
// from inside a network namespace without interfaces.
#include "app/Connectivity.h"

#include <QCoreApplication>
#include <QUrl>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    std::puts(ConnectivityCheck(QUrl(QString::fromLocal8Bit(argv[1]))) ? "connected" : "offline");
    return 0;
}
