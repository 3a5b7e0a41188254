#pragma once

#include <QStringList>

namespace server {

// The command line of tipdesk-server: serve, seed and the operator's commands. Every command
// takes --db FILE and creates the database with its schema on first use. A command exits 0 only
// after its transaction is committed; failures print a clear message on stderr and exit non-zero.
namespace OperatorCommands {

// arguments: everything after the program name.
int run(const QStringList &arguments);

} // namespace OperatorCommands

} // namespace server
