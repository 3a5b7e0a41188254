#include "cli/OperatorCommands.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tipdesk-server"));
    return server::OperatorCommands::run(QCoreApplication::arguments().mid(1));
}
