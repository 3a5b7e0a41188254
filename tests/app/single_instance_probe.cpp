// One start of the one-client-per-user check on the socket given, as a separate process: prints
// "first" or "running"; a first one then prints "shown" for every later start that reaches it and
// stays until it is ended.
#include "app/SingleInstance.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    SingleInstance instance(QString::fromLocal8Bit(argv[1]));
    if (instance.claim() == SingleInstance::Claim::AlreadyRunning) {
        std::puts("running");
        return 0;
    }
    QObject::connect(&instance, &SingleInstance::showRequested, [] {
        std::puts("shown");
        std::fflush(stdout);
    });
    std::puts(instance.listening() ? "first" : "first, not listening");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
